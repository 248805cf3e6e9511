#include "core/ui/dib_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace tiqora::ui {
namespace {

struct Header {
    std::uint32_t size = 40;
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};

void put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A packed DIB of `total` bytes beginning with `header` (a longer header's
// extra fields left zero).
std::vector<std::uint8_t> packedDib(const Header& header, std::size_t total) {
    std::vector<std::uint8_t> bytes(total);
    if (bytes.size() < 40) return bytes;
    put(bytes, 0, header.size, 4);
    put(bytes, 4, static_cast<std::uint32_t>(header.width), 4);
    put(bytes, 8, static_cast<std::uint32_t>(header.height), 4);
    put(bytes, 12, header.planes, 2);
    put(bytes, 14, header.bitCount, 2);
    put(bytes, 16, header.compression, 4);
    put(bytes, 32, header.colorsUsed, 4);
    return bytes;
}

TEST(DibLayout, PixelsStartAfterHeaderMasksAndColourTable) {
    struct Case {
        const char* what;
        Header header;
        std::size_t total;
        std::size_t bitsOffset;
        std::size_t bitsSize;
    } cases[] = {
        {"24 bits, rows padded to 4 bytes", {40, 3, 2, 1, 24}, 40 + 2 * 12, 40, 24},
        {"top-down rows", {40, 3, -2, 1, 24}, 40 + 2 * 12, 40, 24},
        {"more bytes than the rows need", {40, 4, 2, 1, 24}, 40 + 24 + 100, 40, 24},
        {"32 bits", {40, 5, 3, 1, 32}, 40 + 60, 40, 60},
        {"8 bits, full colour table", {40, 4, 1, 1, 8}, 40 + 1024 + 4, 40 + 1024, 4},
        {"8 bits, 16 colours used", {40, 4, 1, 1, 8, 0, 16}, 40 + 64 + 4, 40 + 64, 4},
        {"1 bit", {40, 33, 2, 1, 1}, 40 + 8 + 16, 48, 16},
        {"4 bits", {40, 9, 1, 1, 4}, 40 + 64 + 8, 104, 8},
        {"16 bits with masks after the header", {40, 2, 1, 1, 16, 3}, 40 + 12 + 4, 52, 4},
        {"32 bits, masks inside a version 5 header", {124, 1, 1, 1, 32, 3}, 124 + 4, 124, 4},
        {"24 bits with an optimising palette", {40, 1, 1, 1, 24, 0, 2}, 40 + 8 + 4, 48, 4},
    };
    for (const auto& c : cases) {
        const auto bytes = packedDib(c.header, c.total);
        const auto layout = readDibLayout(bytes);
        ASSERT_TRUE(layout) << c.what;
        EXPECT_EQ(layout->bitsOffset, c.bitsOffset) << c.what;
        EXPECT_EQ(layout->bitsSize, c.bitsSize) << c.what;
        EXPECT_EQ(layout->width, c.header.width) << c.what;
        EXPECT_EQ(layout->height, std::abs(c.header.height)) << c.what;
        EXPECT_EQ(layout->bitCount, c.header.bitCount) << c.what;
    }
}

TEST(DibLayout, RefusesHeadersOutOfRangeAndRowsPastTheEnd) {
    struct Case {
        const char* what;
        Header header;
        std::size_t total;
    } cases[] = {
        {"shorter than a header", {40, 1, 1, 1, 24}, 39},
        {"old core header", {12, 1, 1, 1, 24}, 100},
        {"header longer than the data", {200, 1, 1, 1, 24}, 100},
        {"no width", {40, 0, 1, 1, 24}, 100},
        {"negative width", {40, -1, 1, 1, 24}, 100},
        {"no rows", {40, 1, 0, 1, 24}, 100},
        {"rows past the end", {40, 3, 2, 1, 24}, 40 + 23},
        {"top-down rows past the end", {40, 3, -2, 1, 24}, 40 + 23},
        {"colour table past the end", {40, 1, 1, 1, 8}, 40 + 1023},
        {"masks past the end", {40, 1, 1, 1, 32, 3}, 40 + 11},
        {"more colours than 8 bits hold", {40, 1, 1, 1, 8, 0, 257}, 40 + 2000},
        {"two planes", {40, 1, 1, 2, 24}, 100},
        {"12 bits per pixel", {40, 1, 1, 1, 12}, 100},
        {"run-length compressed", {40, 1, 1, 1, 8, 1}, 2000},
        {"masks at 24 bits", {40, 1, 1, 1, 24, 3}, 100},
        {"huge image, small data", {40, 0x7fffffff, 0x7fffffff, 1, 32}, 100},
        {"most negative height", {40, 1, INT32_MIN, 1, 24}, 100},
        {"colour count that would overflow", {40, 1, 1, 1, 24, 0, 0xffffffffu}, 100},
    };
    for (const auto& c : cases) {
        const auto bytes = packedDib(c.header, c.total);
        EXPECT_FALSE(readDibLayout(bytes)) << c.what;
    }
}

}  // namespace
}  // namespace tiqora::ui
