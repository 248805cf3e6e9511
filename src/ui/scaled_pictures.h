// The pictures of the dialogs' SS_BITMAP statics (the field icons) are drawn
// for 96 DPI. At a larger DPI each is replaced by a copy stretched in
// proportion, so an icon keeps its size next to the text it marks.
#pragma once

#include <windows.h>

#include <vector>

#include "win/gdi.h"

namespace tiqora::ui {

// Scales the picture of every SS_BITMAP static of `dialog` from 96 DPI to
// `dpi`; nothing at 96 DPI. A static does not delete a picture it is given,
// so the copies are returned to be kept while the dialog lives; the pictures
// the statics loaded from the template are deleted.
std::vector<Bitmap> scaleStaticPictures(HWND dialog, int dpi = systemDpi());

}  // namespace tiqora::ui
