#include "ui/resource_dib.h"

namespace tiqora::ui {

std::optional<ResourceDib> ResourceDib::load(HMODULE module, int id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* packed = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!packed) return std::nullopt;
    const auto layout = readDibLayout({packed, SizeofResource(module, found)});
    if (!layout) return std::nullopt;
    return ResourceDib(packed, *layout);
}

void ResourceDib::stretchTo(HDC dc, const RECT& target) const {
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  layout_.width, layout_.height, packed_ + layout_.bitsOffset,
                  reinterpret_cast<const BITMAPINFO*>(packed_), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace tiqora::ui
