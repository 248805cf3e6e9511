// A browser for the test machine, offered as chrome.exe: it opens nothing,
// it only records how it was started. Each run appends one line to
// C:\browser\opened.log:
//
//     <its own module path> TAB <its whole command line> CR LF      (UTF-8)
//
// and ends with 0 (1 when the line could not be written). Runs may overlap
// (a program can open several pages at once) and Wine tears lines appended
// by several processes at the same time, so a named mutex guards the append.
#include <windows.h>

#include <string>
#include <string_view>

namespace {

constexpr wchar_t kFolder[] = L"C:\\browser";
constexpr wchar_t kLog[] = L"C:\\browser\\opened.log";
constexpr wchar_t kLogMutex[] = L"TiqoraBrowserStandinLog";
constexpr DWORD kLockWaitMs = 5000;

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut: try a larger buffer
    }
}

bool append(const std::string& line) {
    CreateDirectoryW(kFolder, nullptr);
    HANDLE file = CreateFileW(kLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::string line = utf8(modulePath()) + "\t" + utf8(GetCommandLineW()) + "\r\n";

    // Past the bounded wait the line is written all the same: a record that
    // might tear is worth more than none.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kLogMutex);
    const DWORD waited = mutex ? WaitForSingleObject(mutex, kLockWaitMs) : WAIT_FAILED;
    const bool owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    const bool written = append(line);
    if (owned) ReleaseMutex(mutex);
    if (mutex) CloseHandle(mutex);
    return written ? 0 : 1;
}
