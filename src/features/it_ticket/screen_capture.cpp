#include "features/it_ticket/screen_capture.h"

#include <objidl.h>

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <vector>

#include <gdiplus.h>

#include "core/it_ticket/screenshot_names.h"
#include "win/gdi.h"
#include "win/handles.h"

namespace tiqora {

namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

// GDI+ for the length of one save: the library loaded, its flat entry points
// resolved and GDI+ started; shut down and freed again by the destructor.
// One at a time: start-up and shut-down of GDI+ are not reentrant.
class GdiplusSession {
public:
    GdiplusSession() : lock_(mutex()), library_(L"gdiplus.dll") {
        if (!library_) return;
        startup = library_.find<decltype(&gp::GdiplusStartup)>("GdiplusStartup");
        shutdown = library_.find<decltype(&gp::GdiplusShutdown)>("GdiplusShutdown");
        encodersSize = library_.find<decltype(&flat::GdipGetImageEncodersSize)>("GdipGetImageEncodersSize");
        encoders = library_.find<decltype(&flat::GdipGetImageEncoders)>("GdipGetImageEncoders");
        fromHbitmap = library_.find<decltype(&flat::GdipCreateBitmapFromHBITMAP)>("GdipCreateBitmapFromHBITMAP");
        saveToFile = library_.find<decltype(&flat::GdipSaveImageToFile)>("GdipSaveImageToFile");
        dispose = library_.find<decltype(&flat::GdipDisposeImage)>("GdipDisposeImage");
        if (!startup || !shutdown || !encodersSize || !encoders || !fromHbitmap || !saveToFile || !dispose) return;
        gp::GdiplusStartupInput input;
        started_ = startup(&token_, &input, nullptr) == gp::Ok;
    }
    ~GdiplusSession() {
        if (started_) shutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return started_; }

    decltype(&gp::GdiplusStartup) startup = nullptr;
    decltype(&gp::GdiplusShutdown) shutdown = nullptr;
    decltype(&flat::GdipGetImageEncodersSize) encodersSize = nullptr;
    decltype(&flat::GdipGetImageEncoders) encoders = nullptr;
    decltype(&flat::GdipCreateBitmapFromHBITMAP) fromHbitmap = nullptr;
    decltype(&flat::GdipSaveImageToFile) saveToFile = nullptr;
    decltype(&flat::GdipDisposeImage) dispose = nullptr;

private:
    static std::mutex& mutex() {
        static std::mutex instance;
        return instance;
    }
    std::lock_guard<std::mutex> lock_;
    SystemLibrary library_;
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

bool sameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return towlower(x) == towlower(y); });
}

// The extension (from the last ".", "." included) of one entry such as "*.JPG".
std::wstring extensionOf(const std::wstring& entry) {
    const size_t dot = entry.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : entry.substr(dot);
}

std::wstring fileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Whether the encoder's ";"-separated extension list holds `extension`.
bool encoderTakes(const wchar_t* extensionList, const std::wstring& extension) {
    if (!extensionList) return false;
    const std::wstring list = extensionList;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos) end = list.size();
        if (sameIgnoringCase(extensionOf(list.substr(start, end - start)), extension)) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

HRESULT saveBitmapAsJpeg(HBITMAP bitmap, const std::wstring& path) {
    GdiplusSession gdiplus;
    if (!gdiplus.started()) return E_FAIL;

    UINT count = 0, bytes = 0;
    if (gdiplus.encodersSize(&count, &bytes) != gp::Ok || count == 0 || bytes < count * sizeof(gp::ImageCodecInfo))
        return E_FAIL;
    std::vector<gp::ImageCodecInfo> list;
    try {
        list.resize((bytes + sizeof(gp::ImageCodecInfo) - 1) / sizeof(gp::ImageCodecInfo));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (gdiplus.encoders(count, bytes, list.data()) != gp::Ok) return E_FAIL;

    const std::wstring extension = extensionOf(fileNameOf(path));
    const gp::ImageCodecInfo* encoder = nullptr;
    for (UINT i = 0; i < count && !encoder; ++i)
        if (encoderTakes(list[i].FilenameExtension, extension)) encoder = &list[i];
    if (!encoder) return E_FAIL;

    gp::GpBitmap* image = nullptr;
    if (gdiplus.fromHbitmap(bitmap, nullptr, &image) != gp::Ok || !image) return E_FAIL;
    const gp::GpStatus saved = gdiplus.saveToFile(image, path.c_str(), &encoder->Clsid, nullptr);
    gdiplus.dispose(image);
    return saved == gp::Ok ? S_OK : E_FAIL;
}

HRESULT captureScreenTo(const std::wstring& path) {
    if (path.size() >= kScreenshotPathChars) return E_FAIL;
    ui::ScreenDC screen;
    if (!screen) return E_FAIL;
    const int width = GetDeviceCaps(screen.get(), HORZRES);
    const int height = GetDeviceCaps(screen.get(), VERTRES);
    ui::MemoryDC memory(screen.get());
    ui::Bitmap picture(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !picture) return E_FAIL;
    {
        ui::SelectedObject selected(memory.get(), picture.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT)) return E_FAIL;
    }
    return saveBitmapAsJpeg(picture.get(), path);
}

}  // namespace tiqora
