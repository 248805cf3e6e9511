#include "win/config_sources.h"

#include "core/config/registry_value.h"
#include "win/handles.h"
#include "win/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tiqora {

std::wstring readIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                           const wchar_t* fallback, size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(section, key, fallback, buffer.data(), static_cast<DWORD>(capacity), file.c_str());
    return std::wstring(buffer.data(), length);
}

namespace {

// Whether the ini file begins with a UTF-16 (little-endian) byte-order mark:
// the profile functions then keep it in UTF-16.
bool isUnicodeIniFile(const std::wstring& file) {
    const KernelHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) return false;
    unsigned char mark[2] = {};
    DWORD got = 0;
    const bool read = ReadFile(handle.get(), mark, sizeof mark, &got, nullptr) != 0;
    return read && got == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
}

bool survivesCodePage(const std::wstring& text) { return fromAnsi(toAnsi(text)) == text; }

}  // namespace

bool writeIniStringExactly(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                           const std::wstring& value) {
    if (!isUnicodeIniFile(file) && !(survivesCodePage(key) && survivesCodePage(value))) return false;
    return WritePrivateProfileStringW(section, key.c_str(), value.c_str(), file.c_str()) != 0;
}

std::string readIniStringA(const std::string& file, const char* section, const char* key, const char* fallback,
                           size_t capacity) {
    std::vector<char> buffer(capacity, '\0');
    const DWORD length =
        GetPrivateProfileStringA(section, key, fallback, buffer.data(), static_cast<DWORD>(capacity), file.c_str());
    return std::string(buffer.data(), length);
}

DeliveryFlagsText::DeliveryFlagsText(const KrlmFlags& flags)
    : itTicketServer_(toUtf8(flags.itTicketServer)),
      sendLocalRpt_(toUtf8(flags.sendLocalRpt)),
      sendWebRpt_(toUtf8(flags.sendWebRpt)) {}

KrlmFlags readKrlmFlags(const std::wstring& productDataFolder) {
    const std::wstring file = productDataFolder + L"\\KRLM.ini";
    return KrlmFlags{
        readIniString(file, L"data", L"SendWebRpt", L"N/A", 200),
        readIniString(file, L"data", L"SendLocalRpt", L"", 40),
        readIniString(file, L"data", L"ITTicketServer", L"", 40),
    };
}

std::wstring readQxPath(const std::wstring& productDataFolder) {
    return readIniString(productDataFolder + L"\\QXPath.ini", L"QXPATH", L"QXPATH", L"N/A", 100);
}

std::wstring readAdminTicketUserName(const std::wstring& productDataFolder) {
    return readIniString(productDataFolder + L"\\DPX_AdminTicket.ini", L"Name", L"UserName", L"N/A", 512);
}

VendorHosts readVendorHosts(const std::wstring& installFolder) {
    const std::wstring file = installFolder + L"\\" + kVendorSettingsFile;
    // Room for any address with its scheme and port, and more: a value the
    // buffer cuts is longer than any address, and cut it is still refused as
    // too long (kMaxAddressLength), never read as another address.
    auto host = [&](const wchar_t* key, const wchar_t* fallback) {
        return readIniString(file, L"Hosts", key, fallback, 512);
    };
    return VendorHosts{
        host(kCallTrackingKey, L"calltrack.tiqora.example"),
        host(kHelpDeskMailKey, L"helpdesk.tiqora.example"),
        host(L"FeedbackPage", L"www.tiqora.example"),
        host(kWebConsoleKey, L"console.tiqora.example"),
        host(kPendingTicketsKey, L"tickets.tiqora.example"),
    };
}

std::wstring readSupportPhone(const std::wstring& installFolder) {
    // The default lies in a range reserved for fiction, like the example hosts.
    return readIniString(installFolder + L"\\" + kVendorSettingsFile, L"Support", L"Phone", L"+44 7700 900461", 64);
}

RegistryKeyPath registryKeyPathOf(RegistrySource source) {
    switch (source) {
    case RegistrySource::SuiteConfig: return {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane\\Orvantis\\Config"};
    case RegistrySource::SuiteConfig32:
        return {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Kelvane\\Orvantis\\Config"};
    case RegistrySource::LegacyUser:
        return {HKEY_CURRENT_USER, L"SOFTWARE\\VB and VBA Program Settings\\ZORVEXGUARD\\Config"};
    case RegistrySource::OperatingSystem:
        return {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"};
    }
    return {HKEY_LOCAL_MACHINE, L""};
}

std::optional<std::wstring> readRegistryString(RegistrySource source, const wchar_t* name, size_t bufferBytes) {
    const RegistryKeyPath where = registryKeyPathOf(source);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(where.root, where.path, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
    const RegistryKey key(opened);

    std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t), L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LONG status =
        RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;

    // The registry reports the size it wrote, which is never more than the
    // buffer; the rule cuts it to the buffer all the same.
    const size_t units = std::min<size_t>(bytes / sizeof(wchar_t), buffer.size());
    const std::u16string returned(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(units));
    const auto value = registryStringValue(returned, buffer.size());
    if (!value) return std::nullopt;
    return std::wstring(value->begin(), value->end());
}

std::wstring readRegistryString(std::initializer_list<RegistrySource> order, const wchar_t* name,
                                size_t bufferBytes) {
    for (RegistrySource source : order) {
        if (auto value = readRegistryString(source, name, bufferBytes)) return *value;
    }
    return {};
}

std::vector<std::wstring> readProfileSection(const std::wstring& file, const wchar_t* section) {
    // The section comes back as "key=value\0key=value\0\0"; a buffer that was
    // too small is reported as its size - 2: grow it and read again.
    std::vector<wchar_t> buffer(64 * 1024);
    for (;;) {
        const DWORD length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
        if (length + 2 < buffer.size()) {
            std::vector<std::wstring> lines;
            for (const wchar_t* line = buffer.data(); *line; line += wcslen(line) + 1) lines.emplace_back(line);
            return lines;
        }
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace tiqora
