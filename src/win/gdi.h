// Scoped owners for GDI objects, so no drawing code pairs SelectObject and
// DeleteObject by hand on every exit path.
#pragma once

#include <windows.h>

#include <utility>

#include "win/handles.h"

namespace tiqora::ui {

// A GDI object (bitmap, brush, font, pen), deleted by its owner.
template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle != nullptr; }
    static void close(Handle handle) { DeleteObject(handle); }
};
template <typename Object>
using GdiObject = UniqueHandle<GdiObjectTraits<Object>>;

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A memory device context compatible with another; deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// The device context of the whole screen, released on scope exit.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects an object into a device context and restores the previous one on
// scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The DPI the program draws at: the system's, as the program is system-DPI
// aware, so it holds for the whole process and is asked once (96 when the
// screen cannot be asked).
inline int systemDpi() {
    static const int dpi = [] {
        ScreenDC screen;
        const int asked = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        return asked > 0 ? asked : 96;
    }();
    return dpi;
}

// A font of the given face and cell height, other attributes default.
inline Font makeFont(const wchar_t* face, int height, int weight = FW_DONTCARE, BYTE pitchAndFamily = DEFAULT_PITCH) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = pitchAndFamily;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

}  // namespace tiqora::ui
