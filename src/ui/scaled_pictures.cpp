#include "ui/scaled_pictures.h"

namespace tiqora::ui {

namespace {

bool isPictureStatic(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, L"Static") == 0 && (GetWindowLongPtrW(window, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

Bitmap stretchedCopy(HDC screen, HBITMAP original, const BITMAP& size, int dpi) {
    const int width = MulDiv(size.bmWidth, dpi, 96);
    const int height = MulDiv(size.bmHeight, dpi, 96);
    Bitmap copy(CreateCompatibleBitmap(screen, width, height));
    MemoryDC from(screen), to(screen);
    if (!copy || !from || !to) return {};
    SelectedObject source(from.get(), original), target(to.get(), copy.get());
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    if (!StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY)) return {};
    return copy;
}

}  // namespace

std::vector<Bitmap> scaleStaticPictures(HWND dialog, int dpi) {
    std::vector<Bitmap> copies;
    if (dpi == 96) return copies;
    ScreenDC screen;
    if (!screen) return copies;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!isPictureStatic(child)) continue;
        auto* original = reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP size{};
        if (!original || !GetObjectW(original, sizeof size, &size)) continue;
        Bitmap copy = stretchedCopy(screen.get(), original, size, dpi);
        if (!copy) continue;
        // The static sizes itself to its new picture, from its top-left corner.
        auto* previous = reinterpret_cast<HBITMAP>(
            SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(copy.get())));
        if (previous && previous != copy.get()) DeleteObject(previous);
        copies.push_back(std::move(copy));
    }
    return copies;
}

}  // namespace tiqora::ui
