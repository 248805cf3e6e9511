// Reading an HTTP/1.x response as its bytes arrive: the status line, the
// headers, and the body framed by Content-Length, by chunks, or by the end of
// the connection. Free of Windows headers, so it is tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wbx {

class ResponseReader {
public:
    // The callers keep at most 21000 bytes of a body: past this much the
    // rest is not waited for.
    static constexpr size_t kBodyEnough = 1 << 20;

    void feed(std::string_view bytes);
    // The peer closed the connection: a body without framing ends here.
    void closed();

    bool complete() const { return state_ == State::Done; }
    bool failed() const { return state_ == State::Failed; }
    long status() const { return status_; }
    const std::string& body() const { return body_; }

private:
    enum class State { Head, Body, ChunkSize, ChunkData, ChunkEnd, Trailer, Done, Failed };
    void parseHead(std::string_view head);
    void step();
    void keep(std::string_view bytes);

    State state_ = State::Head;
    std::string pending_;  // bytes not consumed yet
    std::string body_;
    long status_ = 0;
    bool chunked_ = false;
    bool hasLength_ = false;
    size_t left_ = 0;  // bytes of the body (or chunk) still to come
};

}  // namespace wbx
