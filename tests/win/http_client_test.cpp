// The libcurl upload's overall limit, against a loopback server of the test
// that answers one byte at a time: the bytes keep moving, so the stall limit
// never fires, and only the overall limit ends the upload.
#include "win/http_client.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "harness/no_server.h"

namespace tiqora {
namespace {

// Accepts one connection on a loopback port and answers it with the start of
// a response, then a byte every 100 ms for 20 s, then closes it.
class TricklingServer {
public:
    TricklingServer() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("no sockets");
        sockaddr_in address{};
        listener_ = test::bindFreeLoopbackPort(address);
        if (listener_ == INVALID_SOCKET || listen(listener_, 1) != 0) throw std::runtime_error("no loopback listener");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~TricklingServer() {
        stop_ = true;
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    TricklingServer(const TricklingServer&) = delete;
    TricklingServer& operator=(const TricklingServer&) = delete;

    unsigned short port() const { return port_; }

private:
    void serve() {
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        const char head[] = "HTTP/1.1 200 OK\r\nX-Trickle: ";
        send(client, head, sizeof head - 1, 0);
        for (int i = 0; i < 200 && !stop_; ++i) {
            if (send(client, "a", 1, 0) != 1) break;
            Sleep(100);
        }
        closesocket(client);
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(HttpClient, AnAnswerThatKeepsTricklingIsGivenUpAtTheOverallLimit) {
    TricklingServer server;
    const ServiceAddress console = std::get<ServiceAddress>(serviceAddressOf("127.0.0.1:" + std::to_string(server.port())));
    const ULONGLONG start = GetTickCount64();
    const HttpResult result =
        uploadForm(console, "/upload", {{"CorpId", "CORP-1001", false}}, HttpLimits{10, 30000, 1500});
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 1400u);
    EXPECT_LT(took, 6000u) << "the trickle lasts 20 s";
    EXPECT_TRUE(result.setUp);
    EXPECT_EQ(result.status, 200);  // the status line came, the answer never ended
    EXPECT_NE(result.transferError.find("timed out"), std::string::npos) << result.transferError;
}

}  // namespace
}  // namespace tiqora
