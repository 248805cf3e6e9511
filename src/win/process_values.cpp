#include "win/process_values.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace tiqora {

ProductFolders productFoldersUnder(const std::wstring& commonAppData) {
    ProductFolders folders;
    folders.productData = commonAppData + L"\\Orvantis";
    folders.itTicket = folders.productData + L"\\IT TICKET";
    folders.pending = (folders.itTicket + L"\\P").substr(0, kPendingFolderMaxChars);
    folders.sent = folders.itTicket + L"\\S";
    folders.requestHistory = folders.productData + L"\\Tiqora.ini";
    folders.ticketIni = folders.itTicket + L"\\Tiqora.ini";
    return folders;
}

ProductFolders productFolders() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) appData[0] = 0;
    return productFoldersUnder(appData);
}

namespace {

std::wstring modulePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::wstring transportLibraryPathIn(const std::wstring& installFolder) { return installFolder + L"\\QXSCAN\\WBX.DLL"; }

std::wstring intranetPolicyLibraryPathIn(const std::wstring& installFolder) {
    return installFolder + L"\\QXSCAN\\DPXIntraPol.dll";
}

std::wstring installFolder() {
    const std::wstring full = modulePath();
    const auto slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : full.substr(0, slash);
}

std::wstring applicationTitle() {
    const std::wstring full = modulePath();
    const auto slash = full.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? full : full.substr(slash + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    return name;
}

}  // namespace tiqora
