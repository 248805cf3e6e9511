#include "win/files.h"

#include <algorithm>
#include <new>

namespace tiqora {

std::optional<std::string> readWholeFile(HANDLE file, size_t maxBytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) return std::nullopt;
    try {
        // Reads of one byte more than the size the file had, straight into
        // the result: one read takes a whole file, and the end shows in the
        // same call (a short read).
        constexpr ULONGLONG kLargestRead = 1 << 30;
        const size_t readSize = static_cast<size_t>(std::min<ULONGLONG>(size.QuadPart, kLargestRead - 1)) + 1;
        std::string bytes;
        while (bytes.size() < maxBytes) {
            const size_t at = bytes.size();
            const size_t wanted = std::min(readSize, maxBytes - at);
            bytes.resize(at + wanted);
            DWORD got = 0;
            if (!ReadFile(file, bytes.data() + at, static_cast<DWORD>(wanted), &got, nullptr)) return std::nullopt;
            bytes.resize(at + got);
            if (got < wanted) break;
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool writeWholeFile(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
        done += written;
    }
    return true;
}

namespace {

bool heldFileError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

bool retryWhileHeld(const std::function<bool()>& attempt) {
    constexpr DWORD kPauseMs = 20;
    const ULONGLONG deadline = GetTickCount64() + kHeldFileRetryMs;
    for (;;) {
        if (attempt()) return true;
        const DWORD error = GetLastError();
        if (!heldFileError(error) || GetTickCount64() >= deadline) {
            SetLastError(error);
            return false;
        }
        Sleep(kPauseMs);
    }
}

}  // namespace tiqora
