// A program that crashes at once with an access violation (0xC0000005) and
// has no handler of its own: what the Wine machine does with such a program
// is what the test sees.
#include <cstdint>

namespace {
// Read at run time, so the write below stays a plain store through null.
volatile std::uintptr_t nowhere = 0;
}  // namespace

int main() {
    *reinterpret_cast<volatile int*>(nowhere) = 1;
    return 0;
}
