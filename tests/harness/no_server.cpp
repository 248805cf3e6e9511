#include "harness/no_server.h"

#include <windows.h>

#include <stdexcept>

namespace tiqora::test {

SOCKET bindFreeLoopbackPort(sockaddr_in& address) {
    const SOCKET bound = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bound == INVALID_SOCKET) return INVALID_SOCKET;
    if (bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(bound);
        return INVALID_SOCKET;
    }
    return bound;
}

NoServer::NoServer(Kind kind) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("no Winsock");
    sockaddr_in address{};
    listener_ = bindFreeLoopbackPort(address);
    if (listener_ == INVALID_SOCKET) {
        WSACleanup();
        throw std::runtime_error("no free loopback port");
    }
    port_ = ntohs(address.sin_port);
    if (kind == Kind::Refused) {
        // Bound only to find a free port; closed, nothing listens there.
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    listen(listener_, 0);
    for (int i = 0; i < 4; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers_.push_back(filler);
    }
    Sleep(200);  // the fillers' handshakes take the queue
}

NoServer::~NoServer() {
    for (SOCKET filler : fillers_) closesocket(filler);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

}  // namespace tiqora::test
