// The look the forms share: white backgrounds under their controls and
// Verdana text.
#pragma once

#include <windows.h>

#include "win/gdi.h"

namespace tiqora::ui {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);

// One white brush for the whole process, made at its first use and kept to
// the end: every form paints with it, none owns it.
inline HBRUSH whiteBrush() {
    static const Brush brush(CreateSolidBrush(kWhite));
    return brush.get();
}

// The forms' text face at the given cell height.
inline Font verdanaFont(int height, int weight = FW_DONTCARE, BYTE pitchAndFamily = DEFAULT_PITCH) {
    return makeFont(L"Verdana", height, weight, pitchAndFamily);
}

}  // namespace tiqora::ui
