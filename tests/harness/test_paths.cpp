#include "harness/test_paths.h"

#include <windows.h>

#include <stdexcept>

#include "win/wide_text.h"

namespace tiqora::test {

std::wstring buildBinFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring full(path);
    return full.substr(0, full.find_last_of(L'\\'));
}

std::wstring buildFile(const std::wstring& name) { return buildBinFolder() + L"\\" + name; }

std::wstring tempFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, length > MAX_PATH ? 0 : length) + name;
}

std::string readFileBytes(const std::wstring& path, bool* ok) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (ok) *ok = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + toUtf8(path));
    DWORD written = 0;
    const BOOL okWrite = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!okWrite || written != bytes.size()) throw std::runtime_error("short write to " + toUtf8(path));
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace tiqora::test
