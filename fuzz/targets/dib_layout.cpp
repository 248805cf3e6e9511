// The packed-bitmap layout: whatever bytes a bitmap resource holds, a layout
// that is accepted places its pixel rows inside them, each row as long as
// the width and bit count make it.
#include "core/ui/dib_layout.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(dib_layout) {
    // A copy of exactly the input's size, so a read past it is caught.
    const std::vector<std::uint8_t> packed(input.begin(), input.end());
    const auto layout = tiqora::ui::readDibLayout(packed);
    if (!layout) return;
    FUZZ_CHECK(layout->width > 0 && layout->height > 0);
    FUZZ_CHECK(layout->bitsOffset >= 40);
    FUZZ_CHECK(layout->bitsOffset <= packed.size() && layout->bitsSize <= packed.size() - layout->bitsOffset);
    const std::uint64_t stride = (static_cast<std::uint64_t>(layout->width) * layout->bitCount + 31) / 32 * 4;
    FUZZ_CHECK(stride * static_cast<std::uint64_t>(layout->height) == layout->bitsSize);
    // The last byte of the rows is there to be read.
    volatile std::uint8_t last = packed[layout->bitsOffset + layout->bitsSize - 1];
    (void)last;
}
