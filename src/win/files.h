// Reading and writing whole files, and listing a folder, over open handles
// (callers choose how a file is opened and shared).
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "win/handles.h"

namespace tiqora {

// The bytes of an open file from where it stands, up to its end or
// `maxBytes`; none when its size cannot be read, a read fails, or it is too
// large to hold in memory.
std::optional<std::string> readWholeFile(HANDLE file, size_t maxBytes = SIZE_MAX);

// Writes all of `bytes` to an open file; false when a write fails or falls
// short.
bool writeWholeFile(HANDLE file, std::string_view bytes);

// A file that another program holds open for a moment (a virus scanner
// opens each new file as it appears) refuses to be renamed, replaced or
// opened with a sharing, lock or access violation. Such a refusal is tried
// again for up to this long before it counts.
inline constexpr DWORD kHeldFileRetryMs = 2000;

// Runs `attempt` (true on success, the reason in GetLastError otherwise)
// until it succeeds, fails for a reason no hold explains, or
// kHeldFileRetryMs have passed. True on success; otherwise GetLastError()
// is the last attempt's error.
bool retryWhileHeld(const std::function<bool()>& attempt);

// Calls `visit(const WIN32_FIND_DATAW&)` for each entry that matches
// `pattern` ("folder\*.*" lists "." and ".." too), in the order the file
// system gives them; nothing when none matches or the folder is missing.
template <typename Visit>
void forEachFound(const std::wstring& pattern, Visit visit) {
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return;
    do {
        visit(static_cast<const WIN32_FIND_DATAW&>(found));
    } while (FindNextFileW(search.get(), &found));
}

}  // namespace tiqora
