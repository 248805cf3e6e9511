// Where the pixels of a packed device-independent bitmap start, read from its
// bytes: the form in which bitmap resources are stored (a BITMAPINFOHEADER or
// a later version of it, the colour masks and the colour table, then the
// pixel rows). Free of Windows headers so it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tiqora::ui {

struct DibLayout {
    int width = 0;
    int height = 0;       // rows, always positive
    int bitCount = 0;
    std::size_t bitsOffset = 0;  // from the start of the header
    std::size_t bitsSize = 0;    // bytes of pixel rows
};

// The layout of an uncompressed packed DIB (BI_RGB, or BI_BITFIELDS at 16 and
// 32 bits per pixel), or nothing when the header is shorter than a
// BITMAPINFOHEADER, a field is out of range, or the pixel rows do not fit in
// `packed`: a bitmap read through the result never reads past its bytes.
std::optional<DibLayout> readDibLayout(std::span<const std::uint8_t> packed);

}  // namespace tiqora::ui
