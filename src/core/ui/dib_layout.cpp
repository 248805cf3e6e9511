#include "core/ui/dib_layout.h"

namespace tiqora::ui {

namespace {

std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kRgb = 0;              // BI_RGB
constexpr std::uint32_t kBitFields = 3;        // BI_BITFIELDS

}  // namespace

std::optional<DibLayout> readDibLayout(std::span<const std::uint8_t> packed) {
    if (packed.size() < kInfoHeaderSize) return std::nullopt;
    const std::uint32_t headerSize = readU32(packed, 0);
    const auto width = static_cast<std::int32_t>(readU32(packed, 4));
    const auto height = static_cast<std::int32_t>(readU32(packed, 8));
    const std::uint16_t planes = readU16(packed, 12);
    const std::uint16_t bitCount = readU16(packed, 14);
    const std::uint32_t compression = readU32(packed, 16);
    const std::uint32_t colorsUsed = readU32(packed, 32);

    if (headerSize < kInfoHeaderSize || headerSize > packed.size()) return std::nullopt;
    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1) return std::nullopt;
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
    }
    const bool bitFields = compression == kBitFields;
    if (compression != kRgb && !(bitFields && (bitCount == 16 || bitCount == 32))) return std::nullopt;

    // The colour table: the colours in use, or all that the bit count allows
    // when that is 0 (none above 8 bits per pixel); never more than those.
    std::uint64_t colors = colorsUsed;
    if (bitCount <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bitCount;
        if (colors == 0) colors = most;
        if (colors > most) return std::nullopt;
    }
    // A plain BITMAPINFOHEADER is followed by the three colour masks; the
    // later headers hold them inside.
    const std::uint64_t masks = bitFields && headerSize == kInfoHeaderSize ? 12 : 0;
    const std::uint64_t bitsOffset = std::uint64_t{headerSize} + masks + colors * 4;

    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (bitsOffset > packed.size()) return std::nullopt;
    // Rows are compared before they are multiplied, so no product overflows.
    const std::uint64_t room = packed.size() - bitsOffset;
    if (rows > room / stride) return std::nullopt;
    const std::uint64_t bitsSize = stride * rows;

    return DibLayout{width, static_cast<int>(rows), bitCount, static_cast<std::size_t>(bitsOffset),
                     static_cast<std::size_t>(bitsSize)};
}

}  // namespace tiqora::ui
