// A bitmap resource of a module, drawn straight from the module's mapped
// resource data: no copy of its pixels is made (a device-dependent copy of a
// dialog skin is about 1 MiB of process memory at 32 bits per pixel), and a
// dialog that is never painted never touches them.
#pragma once

#include <windows.h>

#include <optional>

#include "core/ui/dib_layout.h"

namespace tiqora::ui {

class ResourceDib {
public:
    // Bitmap resource `id` of `module`, or nothing when there is none or its
    // data is not an uncompressed DIB that fits in the resource.
    static std::optional<ResourceDib> load(HMODULE module, int id);

    int width() const { return layout_.width; }
    int height() const { return layout_.height; }

    // Draws the whole bitmap into `target` of `dc`, stretched to its size in
    // the device context's stretch mode.
    void stretchTo(HDC dc, const RECT& target) const;

private:
    ResourceDib(const BYTE* packed, DibLayout layout) : packed_(packed), layout_(layout) {}

    const BYTE* packed_;  // the module's resource data, valid while the module is loaded
    DibLayout layout_;
};

}  // namespace tiqora::ui
