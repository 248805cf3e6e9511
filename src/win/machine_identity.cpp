#include "win/machine_identity.h"

// winsock2 before windows.h, which would otherwise bring in the old winsock.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <lmcons.h>

#include <vector>

#include "core/it_ticket/ticket_rules.h"
#include "win/handles.h"
#include "win/ticket_log.h"

namespace tiqora {

namespace {

// The socket library, started (version 1.1) for the life of one query.
class SocketLibrary {
public:
    SocketLibrary() : library_(L"ws2_32.dll") {
        if (!library_) loadError_ = GetLastError();
        const auto startup = library_.find<decltype(&WSAStartup)>("WSAStartup");
        cleanup_ = library_.find<decltype(&WSACleanup)>("WSACleanup");
        started_ = startup && cleanup_ && startup(MAKEWORD(1, 1), &data_) == 0;
    }
    ~SocketLibrary() {
        if (started_) cleanup_();
    }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    explicit operator bool() const { return started_; }
    const SystemLibrary& library() const { return library_; }
    // The system's error when the library did not load, else 0.
    unsigned long loadError() const { return loadError_; }

private:
    SystemLibrary library_;
    unsigned long loadError_ = 0;
    decltype(&WSACleanup) cleanup_ = nullptr;
    WSADATA data_{};
    bool started_ = false;
};

// The adapter list; a first buffer of one record, enlarged once to the size
// the system asks for.
std::vector<AdapterAddresses> adapterList() {
    std::vector<AdapterAddresses> adapters;
    const SystemLibrary ipHelper(L"iphlpapi.dll");
    const auto getAdaptersInfo = ipHelper.find<decltype(&GetAdaptersInfo)>("GetAdaptersInfo");
    if (!getAdaptersInfo) return adapters;
    std::vector<unsigned char> buffer(sizeof(IP_ADAPTER_INFO));
    ULONG size = static_cast<ULONG>(buffer.size());
    DWORD status = getAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (status == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        status = getAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (status != NO_ERROR) return adapters;
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); adapter; adapter = adapter->Next) {
        AdapterAddresses entry;
        // The address strings are fixed arrays of 16 bytes: read no further.
        const auto text = [](const IP_ADDRESS_STRING& address) {
            return std::string(address.String, strnlen(address.String, sizeof address.String));
        };
        entry.gateway = text(adapter->GatewayList.IpAddress);
        for (const IP_ADDR_STRING* address = &adapter->IpAddressList; address; address = address->Next)
            entry.addresses.push_back(text(address->IpAddress));
        adapters.push_back(std::move(entry));
    }
    return adapters;
}

}  // namespace

std::string hostName() {
    SocketLibrary sockets;
    if (!sockets.library()) {
        const unsigned long error = sockets.loadError();
        writeTicketLog("Host name not known, the system library ws2_32.dll cannot be loaded (error " +
                       std::to_string(error) + ")");
        return {};
    }
    const auto getHostName = sockets.library().find<decltype(&gethostname)>("gethostname");
    if (!sockets || !getHostName) return {};
    char name[256] = {};
    if (getHostName(name, static_cast<int>(sizeof name)) != 0) return {};
    return std::string(name, strnlen(name, sizeof name));
}

std::string machineIp() {
    SocketLibrary sockets;
    return machineIpFrom(adapterList());
}

std::wstring logonUserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!GetUserNameW(name, &size)) return {};
    return std::wstring(name, wcsnlen(name, std::size(name)));
}

}  // namespace tiqora
