// The floor of the resend benchmark: the same number of bare SendWebdata2
// calls that "/sysp" makes for as many web files, through the same stand-in
// WBX.DLL to the same pending-ticket service, with the same body, and
// nothing else (no folder scan, no file reads, no moves, no log).
//
//   resend_floor.exe <WBX.DLL> <host> <count> <body file>
//
// Exit code 0 when every reply held "VEXO-OK", 1 otherwise, 2 on bad
// arguments or a library that does not load.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "win/suite_exports.h"

namespace {

std::string narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

bool readBody(const wchar_t* path, std::string& body) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) body.append(chunk, got);
    CloseHandle(file);
    return !body.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: resend_floor.exe <WBX.DLL> <host> <count> <body file>\n");
        return 2;
    }
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    HMODULE library =
        LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    const auto send = library ? reinterpret_cast<SendWebdata2Fn>(
                                    reinterpret_cast<void*>(GetProcAddress(library, "SendWebdata2")))
                              : nullptr;
    std::string body;
    if (!send || !readBody(argv[4], body)) {
        std::fprintf(stderr, "cannot load SendWebdata2 or read the body\n");
        return 2;
    }
    const std::string host = narrow(argv[2]);
    const long count = std::wcstol(argv[3], nullptr, 10);

    long failures = 0;
    std::vector<char> reply(8192);
    for (long i = 0; i < count; ++i) {
        reply[0] = '\0';
        send(host.c_str(), "/velmora/api/SubmitTicket.aspx", body.c_str(), "Tiqora", reply.data());
        if (!std::strstr(reply.data(), "VEXO-OK")) ++failures;
    }
    FreeLibrary(library);
    if (failures) std::fprintf(stderr, "%ld of %ld calls were not confirmed\n", failures, count);
    return failures ? 1 : 0;
}
