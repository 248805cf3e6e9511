#include "http_post.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "http_response.h"

namespace wbx {

namespace {

using Clock = std::chrono::steady_clock;

bool startWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

class Socket {
public:
    Socket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return socket_; }
    explicit operator bool() const { return socket_ != INVALID_SOCKET; }

private:
    SOCKET socket_;
};

// Milliseconds left until `deadline`, at least 0.
long remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<long>(left) : 0;
}

// Waits until the socket is ready for reading or writing; false on time-out.
bool waitFor(SOCKET socket, bool forWrite, Clock::time_point deadline) {
    fd_set set, errors;
    FD_ZERO(&set);
    FD_ZERO(&errors);
    FD_SET(socket, &set);
    FD_SET(socket, &errors);
    const long left = remaining(deadline);
    timeval wait{left / 1000, (left % 1000) * 1000};
    const int ready = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &wait);
    return ready > 0 && FD_ISSET(socket, &set);
}

// The IPv4 address of `host`. A name lookup runs on a thread of its own so
// that a resolver that does not answer cannot hold the caller past `deadline`
// (the thread finishes on its own and keeps only its own copies).
std::optional<in_addr> resolve(const std::string& host, Clock::time_point deadline) {
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) == 1) return address;

    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<in_addr> address;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        std::optional<in_addr> result;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found) {
            result = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
            freeaddrinfo(found);
        }
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->address = result;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->done.wait_until(lock, deadline, [&] { return lookup->finished; })) return std::nullopt;
    return lookup->address;
}

bool connectWithin(const Socket& socket, const Endpoint& endpoint, Clock::time_point deadline) {
    const auto address = resolve(endpoint.host, deadline);
    if (!address) return false;
    u_long nonBlocking = 1;
    ioctlsocket(socket.get(), FIONBIO, &nonBlocking);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(endpoint.port));
    target.sin_addr = *address;
    if (connect(socket.get(), reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) return true;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
    if (!waitFor(socket.get(), true, deadline)) return false;
    int error = 0;
    int length = sizeof error;
    getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    return error == 0;
}

bool sendAll(const Socket& socket, const std::string& bytes, Clock::time_point deadline) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        if (!waitFor(socket.get(), true, deadline)) return false;
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 64 * 1024));
        const int done = send(socket.get(), bytes.data() + sent, chunk, 0);
        if (done == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
            return false;
        }
        sent += static_cast<size_t>(done);
    }
    return true;
}

// One exchange: the request out, the whole response in.
HttpAnswer exchange(const Endpoint& endpoint, const std::string& request, long connectSeconds) {
    const auto start = Clock::now();
    const auto connectDeadline = start + std::chrono::seconds(connectSeconds);
    const auto deadline = start + std::chrono::seconds(kTotalSeconds);
    Socket socket;
    if (!socket || !connectWithin(socket, endpoint, std::min(connectDeadline, deadline))) return {};
    if (!sendAll(socket, request, deadline)) return {};

    ResponseReader response;
    char buffer[16 * 1024];
    while (!response.complete()) {
        if (!waitFor(socket.get(), false, deadline)) return {};
        const int got = recv(socket.get(), buffer, sizeof buffer, 0);
        if (got == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
            return {};
        }
        if (got == 0) {
            response.closed();
            break;
        }
        response.feed(std::string_view(buffer, static_cast<size_t>(got)));
        if (response.failed()) return {};
    }
    if (!response.complete()) return {};
    return HttpAnswer{true, response.status(), response.body()};
}

std::string requestHead(const Endpoint& endpoint, const std::string& path, const std::string& contentType,
                        size_t length, const PostOptions& options) {
    std::string head = "POST " + (path.empty() || path.front() != '/' ? "/" + path : path) + " HTTP/1.1\r\n";
    head += "Host: " + endpoint.host + ":" + std::to_string(endpoint.port) + "\r\n";
    head += "User-Agent: " + options.agent + "\r\n";
    if (!options.accept.empty()) head += "Accept: " + options.accept + "\r\n";
    head += "Content-Type: " + contentType + "\r\n";
    head += "Content-Length: " + std::to_string(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    return head;
}

HttpAnswer post(const Endpoint& endpoint, const std::string& path, const std::string& body,
                const std::string& contentType, const PostOptions& options) {
    if (!startWinsock() || endpoint.host.empty()) return {};
    const std::string request = requestHead(endpoint, path, contentType, body.size(), options) + body;
    for (int attempt = 0; attempt < options.attempts; ++attempt) {
        HttpAnswer answer = exchange(endpoint, request, options.connectSeconds);
        if (answer.answered) return answer;
    }
    return {};
}

std::optional<std::string> readFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

// A quoted parameter value of a part header.
std::string quoted(const std::string& value) {
    std::string result = "\"";
    for (char c : value) {
        if (c == '"') result += "%22";
        else if (c == '\r' || c == '\n') result += ' ';
        else result += c;
    }
    return result + '"';
}

}  // namespace

HttpAnswer postBody(const Endpoint& endpoint, const std::string& path, const std::string& body,
                    const std::string& contentType, const PostOptions& options) {
    return post(endpoint, path, body, contentType, options);
}

HttpAnswer postMultipart(const Endpoint& endpoint, const std::string& path, const std::vector<FormPart>& parts,
                         const PostOptions& options) {
    const std::string boundary = "----WBXBoundary" + std::to_string(GetTickCount64()) + "x" +
                                 std::to_string(GetCurrentProcessId());
    std::string body;
    for (const FormPart& part : parts) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=" + quoted(part.name);
        if (part.filePath.empty()) {
            body += "\r\n\r\n" + part.value + "\r\n";
            continue;
        }
        const auto content = readFile(part.filePath);
        if (!content) return {};
        body += "; filename=" + quoted(part.fileName) + "\r\nContent-Type: application/octet-stream\r\n\r\n";
        body += *content;
        body += "\r\n";
    }
    body += "--" + boundary + "--\r\n";
    return post(endpoint, path, body, "multipart/form-data; boundary=" + boundary, options);
}

}  // namespace wbx
