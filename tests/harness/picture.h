// A picture file decoded by GDI+, for tests that look at what a screenshot
// holds, and the screen's own pixels to compare it with.
#pragma once

#include <windows.h>

#include <string>

namespace Gdiplus {
class GpBitmap;
}  // namespace Gdiplus

namespace tiqora::test {

class DecodedPicture {
public:
    explicit DecodedPicture(const std::wstring& path);
    ~DecodedPicture();
    DecodedPicture(const DecodedPicture&) = delete;
    DecodedPicture& operator=(const DecodedPicture&) = delete;

    bool valid() const { return bitmap_ != nullptr; }
    GUID format() const;
    UINT width() const;
    UINT height() const;
    COLORREF pixel(int x, int y) const;

private:
    ULONG_PTR token_ = 0;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// Whether two colours agree within what JPEG compression changes (each
// channel within 40).
bool similarColour(COLORREF a, COLORREF b);

// The colour the screen shows at a point (screen coordinates), whichever
// window stands there.
COLORREF screenPixel(int x, int y);

}  // namespace tiqora::test
