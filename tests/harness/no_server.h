// A loopback port where no server answers, for tests and benchmarks of what
// the program does when a service is down.
#pragma once

#include <winsock2.h>

#include <vector>

namespace tiqora::test {

// A TCP socket bound to a free loopback port, not yet listening, with the
// address it took (its port included); INVALID_SOCKET when none can be had.
// Winsock must be started.
SOCKET bindFreeLoopbackPort(sockaddr_in& address);

class NoServer {
public:
    enum class Kind {
        Refused,  // nothing listens: every connection is refused at once
        Silent,   // a listener that never accepts, its queue filled by
                  // connections of its own: every further connection
                  // attempt waits unanswered for its time-out
    };

    // Throws std::runtime_error when no loopback port can be had.
    explicit NoServer(Kind kind);
    ~NoServer();
    NoServer(const NoServer&) = delete;
    NoServer& operator=(const NoServer&) = delete;

    unsigned short port() const { return port_; }

private:
    SOCKET listener_ = INVALID_SOCKET;
    std::vector<SOCKET> fillers_;
    unsigned short port_ = 0;
};

}  // namespace tiqora::test
