#include "itticket/record_files.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "text/wide_text.h"

namespace tiqora {

namespace {

// How many names are tried before a folder counts as unable to take a record.
constexpr int kNameAttempts = 1000;

enum class Placed { Written, NameTaken, Failed };

// The bytes in a hidden temporary file of `folder`, closed and flushed; its
// path, or none.
std::optional<std::wstring> writeTemporary(const std::wstring& folder, std::string_view bytes) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring path = folder + L"\\~record-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++serial) + L".part";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
            return std::nullopt;
        }
        bool ok = true;
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
            done += written;
        }
        ok = FlushFileBuffers(file) && ok;
        CloseHandle(file);
        if (ok) return path;
        DeleteFileW(path.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

// Gives the temporary file its final name, unless that name is taken.
Placed place(const std::wstring& temporary, const std::wstring& finalPath) {
    if (MoveFileExW(temporary.c_str(), finalPath.c_str(), MOVEFILE_WRITE_THROUGH)) {
        // The record is a plain file like any other from now on.
        SetFileAttributesW(finalPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        return Placed::Written;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Placed::NameTaken;
    // Another kind of failure may still be a name that exists (a folder of
    // that name, a file that cannot be opened): try the next name then too.
    if (GetFileAttributesW(finalPath.c_str()) != INVALID_FILE_ATTRIBUTES) return Placed::NameTaken;
    return Placed::Failed;
}

std::optional<std::wstring> writeUnderFirstFreeName(const std::wstring& folder, std::string_view bytes,
                                                    const std::function<std::string(int)>& candidate) {
    const std::optional<std::wstring> temporary = writeTemporary(folder, bytes);
    if (!temporary) return std::nullopt;
    for (int n = 0; n < kNameAttempts; ++n) {
        const std::wstring path = folder + L"\\" + fromUtf8(candidate(n));
        switch (place(*temporary, path)) {
        case Placed::Written:
            return path;
        case Placed::NameTaken:
            continue;
        case Placed::Failed:
            n = kNameAttempts;
            break;
        }
    }
    DeleteFileW(temporary->c_str());
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> writeSentRecord(const std::wstring& sentFolder, TicketKind kind,
                                            std::string_view ticketId, std::string_view bytes) {
    return writeUnderFirstFreeName(sentFolder, bytes,
                                   [&](int n) { return sentRecordCandidate(kind, ticketId, n + 1); });
}

std::optional<std::wstring> writePendingRecord(const std::wstring& pendingFolder, TicketKind kind,
                                               std::uint32_t tickCount, std::string_view bytes) {
    return writeUnderFirstFreeName(pendingFolder, bytes, [&](int n) {
        return pendingRecordName(kind, tickCount + static_cast<std::uint32_t>(n));
    });
}

}  // namespace tiqora
