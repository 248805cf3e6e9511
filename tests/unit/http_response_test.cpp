#include "http_response.h"

#include <gtest/gtest.h>

#include <string>

namespace wbx {
namespace {

// Feeds a response in pieces of `piece` bytes, then reports the close.
ResponseReader read(const std::string& response, size_t piece, bool close = true) {
    ResponseReader reader;
    for (size_t i = 0; i < response.size() && !reader.complete(); i += piece)
        reader.feed(std::string_view(response).substr(i, piece));
    if (close && !reader.complete()) reader.closed();
    return reader;
}

TEST(ResponseReader, FramesTheBodyByLengthChunksOrClose) {
    struct Case {
        const char* what;
        std::string response;
        bool close;
        bool complete;
        long status;
        std::string body;
    } cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nCT : 4711", false, true, 200, "CT : 4711"},
        {"length, extra bytes ignored", "HTTP/1.1 200 OK\r\ncontent-length: 2\r\n\r\nokTRAILING", false, true, 200, "ok"},
        {"until close", "HTTP/1.0 500 Internal Server Error\r\nServer: x\r\n\r\nInternal Server Error", true, true, 500,
         "Internal Server Error"},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nMsg \r\n4;ext=1\r\nsent\r\n0\r\n\r\n", false,
         true, 200, "Msg sent"},
        {"chunked with trailer", "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nok\r\n0\r\nX-A: b\r\n\r\n", false,
         true, 200, "ok"},
        {"interim answer first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nyes", false, true,
         200, "yes"},
        {"no content", "HTTP/1.1 204 No Content\r\n\r\n", false, true, 204, ""},
        {"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", true, false, 200, "short"},
        {"not HTTP", "SSH-2.0-x\r\n\r\n", true, false, 0, ""},
        {"no head at all", "", true, false, 0, ""},
    };
    for (const auto& c : cases) {
        for (size_t piece : {size_t{1}, size_t{7}, c.response.size() + 1}) {
            const ResponseReader reader = read(c.response, piece == 0 ? 1 : piece, c.close);
            EXPECT_EQ(reader.complete(), c.complete) << c.what << " in pieces of " << piece;
            if (!c.complete) continue;
            EXPECT_EQ(reader.status(), c.status) << c.what;
            EXPECT_EQ(reader.body(), c.body) << c.what << " in pieces of " << piece;
        }
    }
}

TEST(ResponseReader, StopsWaitingOnceItHasMoreThanAnyCallerKeeps) {
    const std::string big(ResponseReader::kBodyEnough + 100, 'x');
    ResponseReader reader;
    reader.feed("HTTP/1.1 200 OK\r\nContent-Length: 99999999\r\n\r\n");
    reader.feed(big);
    EXPECT_TRUE(reader.complete());
    EXPECT_GE(reader.body().size(), ResponseReader::kBodyEnough);
}

}  // namespace
}  // namespace wbx
