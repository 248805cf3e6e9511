#include "harness/picture.h"

#include <objidl.h>

#include <gdiplus.h>

namespace tiqora::test {

namespace gp = Gdiplus;

DecodedPicture::DecodedPicture(const std::wstring& path) {
    gp::GdiplusStartupInput input;
    gp::GdiplusStartup(&token_, &input, nullptr);
    gp::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap_);
}

DecodedPicture::~DecodedPicture() {
    if (bitmap_) gp::DllExports::GdipDisposeImage(bitmap_);
    gp::GdiplusShutdown(token_);
}

GUID DecodedPicture::format() const {
    GUID id{};
    gp::DllExports::GdipGetImageRawFormat(bitmap_, &id);
    return id;
}

UINT DecodedPicture::width() const {
    UINT value = 0;
    gp::DllExports::GdipGetImageWidth(bitmap_, &value);
    return value;
}

UINT DecodedPicture::height() const {
    UINT value = 0;
    gp::DllExports::GdipGetImageHeight(bitmap_, &value);
    return value;
}

COLORREF DecodedPicture::pixel(int x, int y) const {
    gp::ARGB argb = 0;
    gp::DllExports::GdipBitmapGetPixel(bitmap_, x, y, &argb);
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

bool similarColour(COLORREF a, COLORREF b) {
    const auto close = [](int x, int y) { return x - y < 40 && y - x < 40; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace tiqora::test
