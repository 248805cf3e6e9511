#include "suite_config.h"

#include <windows.h>
#include <shlobj.h>

namespace wbx {

std::optional<Endpoint> configuredLanServer() {
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return std::nullopt;
    const std::string file = std::string(appData) + "\\Orvantis\\ServerIP.ini";
    char acip[260] = {};
    char ip[260] = {};
    GetPrivateProfileStringA("Server", "ACIP", "N/A", acip, sizeof acip, file.c_str());
    GetPrivateProfileStringA("Server", "IP", "N/A", ip, sizeof ip, file.c_str());
    return lanServerFrom(acip, ip);
}

bool fileReadable(const char* path) {
    if (!path || !*path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace wbx
