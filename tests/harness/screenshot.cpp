#include "harness/screenshot.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include "win/gdi.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tiqora::test {

namespace {

namespace flat = Gdiplus::DllExports;

// A window is captured once it has settled: nothing in it waits to be painted
// and two captures this far apart are alike. Wine copies what a program
// painted to the screen when the program's thread next goes idle, or every
// 50 ms while it stays busy, so a window can show half-drawn for a few
// milliseconds after it became visible.
constexpr DWORD kSettleMs = 100;
// A window that never holds still (an animation) is saved as it is then.
constexpr DWORD kSettleTimeoutMs = 3000;

using ui::Bitmap;
using ui::MemoryDC;
using ui::ScreenDC;
using ui::SelectedObject;

struct ImageDeleter {
    void operator()(Gdiplus::GpBitmap* image) const { flat::GdipDisposeImage(image); }
};
using GdiplusImage = std::unique_ptr<Gdiplus::GpBitmap, ImageDeleter>;

// GDI+ for the life of the process, started on first use.
class GdiplusSession {
public:
    GdiplusSession() {
        const Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession() {
        if (started_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

bool gdiplusStarted() {
    static const GdiplusSession session;
    return session.started();
}

// The pixels of a capture, top row first, 32 bits each (blue, green, red,
// unused).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    bool operator==(const Picture&) const = default;
};

// Reads the pixels of `bitmap`, which must not be selected into a DC.
std::optional<Picture> readPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Picture picture{width, height, std::vector<DWORD>(static_cast<size_t>(width) * static_cast<size_t>(height))};
    if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), picture.pixels.data(), &info, DIB_RGB_COLORS) != height)
        return std::nullopt;
    return picture;
}

// The window as it looks now, frame included.
std::optional<Picture> capture(HWND window) {
    RECT rect{};
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) return std::nullopt;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return std::nullopt;

    const ScreenDC screen;
    if (!screen) return std::nullopt;
    const Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const MemoryDC memory(screen.get());
    if (!bitmap || !memory) return std::nullopt;

    // The window's rectangle as the screen shows it, with the window raised
    // so that nothing covers it. PrintWindow is no help under Wine: for a
    // window of another process it returns TRUE but draws nothing, and for
    // one of this process it leaves out the child controls.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        // Only the part on the screen is copied (the rest stays black): under
        // Wine a copy that reaches past the screen's edge comes back black
        // as a whole, as happens to a tall form at a high DPI.
        const RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        RECT shown{};
        if (!selected || !IntersectRect(&shown, &rect, &desktop) ||
            !BitBlt(memory.get(), shown.left - rect.left, shown.top - rect.top, shown.right - shown.left,
                    shown.bottom - shown.top, screen.get(), shown.left, shown.top, SRCCOPY | CAPTUREBLT))
            return std::nullopt;
    }
    return readPixels(screen.get(), bitmap.get(), width, height);
}

// True when the window or one of its controls has a part still to paint.
bool paintPending(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (paintPending(child)) return true;
    }
    return false;
}

// Captures the window once it has settled (see kSettleMs).
std::optional<Picture> settledCapture(HWND window) {
    const ULONGLONG deadline = GetTickCount64() + kSettleTimeoutMs;
    std::optional<Picture> previous;
    for (;;) {
        std::optional<Picture> current = capture(window);
        if (!current) return std::nullopt;
        if (previous && *current == *previous && !paintPending(window)) return current;
        if (GetTickCount64() >= deadline) return current;
        previous = std::move(current);
        Sleep(kSettleMs);
    }
}

// The class id of GDI+'s PNG encoder.
bool pngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    if (flat::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) return false;
    // The list and the strings it points to share one block of `bytes` bytes.
    std::vector<Gdiplus::ImageCodecInfo> block(bytes / sizeof(Gdiplus::ImageCodecInfo) + 1);
    Gdiplus::ImageCodecInfo* codecs = block.data();
    if (flat::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring_view(codecs[i].MimeType) == L"image/png") {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool writePng(Picture& picture, const std::wstring& path) {
    CLSID encoder{};
    if (!gdiplusStarted() || !pngEncoder(encoder)) return false;
    // The GDI+ bitmap reads the pixels in place; they outlive it.
    Gdiplus::GpBitmap* created = nullptr;
    if (flat::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                                        reinterpret_cast<BYTE*>(picture.pixels.data()), &created) != Gdiplus::Ok)
        return false;
    const GdiplusImage image(created);
    return flat::GdipSaveImageToFile(image.get(), path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

}  // namespace

bool saveWindowPng(HWND window, const std::wstring& path) {
    std::optional<Picture> picture = settledCapture(window);
    return picture && writePng(*picture, path);
}

}  // namespace tiqora::test
