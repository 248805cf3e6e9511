#include "harness/system_identity.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "win/wide_text.h"

namespace tiqora::test {

namespace {

std::string networkPart(const std::string& dotted) {
    const size_t dot = dotted.rfind('.');
    return dot == std::string::npos ? std::string() : dotted.substr(0, dot);
}

std::string text(const IP_ADDRESS_STRING& address) {
    return std::string(address.String, strnlen(address.String, sizeof address.String));
}

// Seconds since year 0 of a local time, to the second.
long long secondsOf(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    FILETIME file{};
    if (!SystemTimeToFileTime(&time, &file)) return -1;
    return static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32 | file.dwLowDateTime) /
                                  10000000ULL);
}

long long secondsOf(const SYSTEMTIME& t) { return secondsOf(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond); }

}  // namespace

std::string systemHostName() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return {};
    char name[256] = {};
    const int named = gethostname(name, static_cast<int>(sizeof name));
    WSACleanup();
    return named == 0 ? toUtf8(fromAnsi(name)) : std::string();
}

std::wstring systemUserName() {
    wchar_t name[512] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    return GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
}

std::string systemMachineIp() {
    ULONG size = 0;
    std::vector<unsigned char> buffer;
    const IP_ADAPTER_INFO* adapters = nullptr;
    if (GetAdaptersInfo(nullptr, &size) == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) == NO_ERROR)
            adapters = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
    }
    for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next) {
        const std::string gateway = text(adapter->GatewayList.IpAddress);
        if (gateway.empty() || gateway == "0.0.0.0") continue;
        for (const IP_ADDR_STRING* address = &adapter->IpAddressList; address; address = address->Next) {
            const std::string ip = text(address->IpAddress);
            if (!ip.empty() && ip != "0.0.0.0" && networkPart(ip) == networkPart(gateway)) return ip;
        }
    }
    // An empty expectation would agree with a program that sends no address
    // at all: a test that compares against it could not fail.
    throw std::runtime_error("no adapter of this machine has an address beside its gateway: "
                             "the tests have no machine address to expect");
}

std::wstring systemOsName() {
    // The Windows key as the administrator's guide names it (section 2.1).
    constexpr wchar_t kWindowsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    constexpr DWORD kStrings = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kWindowsKey, L"ProductName", kStrings, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> name(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kWindowsKey, L"ProductName", kStrings, nullptr, name.data(), &bytes) !=
        ERROR_SUCCESS)
        return {};
    return std::wstring(name.data());
}

SYSTEMTIME localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

bool isLocalTimeBetween(const std::string& text, const SYSTEMTIME& before, const SYSTEMTIME& after) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char end = 0;
    if (text.size() != 19 || std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                                         &second, &end) != 6)
        return false;
    const long long at = secondsOf(year, month, day, hour, minute, second);
    return at >= 0 && secondsOf(before) <= at && at <= secondsOf(after);
}

}  // namespace tiqora::test
