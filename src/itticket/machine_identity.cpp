#include "itticket/machine_identity.h"

// winsock2 before windows.h, which would otherwise bring in the old winsock.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <lmcons.h>

#include <vector>

#include "itticket/ticket_rules.h"

namespace tiqora {

namespace {

// The socket library for the life of one query.
class SocketLibrary {
public:
    SocketLibrary() { started_ = WSAStartup(MAKEWORD(1, 1), &data_) == 0; }
    ~SocketLibrary() {
        if (started_) WSACleanup();
    }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    explicit operator bool() const { return started_; }

private:
    WSADATA data_{};
    bool started_ = false;
};

// The adapter list; a first buffer of one record, enlarged once to the size
// the system asks for.
std::vector<AdapterAddresses> adapterList() {
    std::vector<unsigned char> buffer(sizeof(IP_ADAPTER_INFO));
    ULONG size = static_cast<ULONG>(buffer.size());
    DWORD status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (status == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    std::vector<AdapterAddresses> adapters;
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
    if (!sockets) return {};
    char name[256] = {};
    if (gethostname(name, static_cast<int>(sizeof name)) != 0) return {};
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
