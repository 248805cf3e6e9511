// CDialogSK: the skinned dialog every dialog of the program derives from.
// Its client area is painted with a bitmap from the resources (the skin),
// stretched to fit, and a click anywhere on its body moves the window, since
// the skinned dialogs have no caption bar to grab.
#pragma once

#include "ui/dialog.h"
#include "ui/gdi.h"

namespace tiqora::ui {

class CDialogSK : public Dialog {
public:
    explicit CDialogSK(int templateId) : Dialog(templateId) {}

    // Takes ownership of `bitmap` as the skin, deleting the previous one. A
    // null bitmap removes the skin. A bitmap whose size cannot be read is
    // deleted and leaves no skin (FALSE).
    BOOL AssignSkin(HBITMAP bitmap);
    // Loads bitmap resource `bitmapId` of the program as the skin; a resource
    // that does not load clears the skin.
    BOOL LoadSkin(int bitmapId);

    HBITMAP skin() const { return skin_.get(); }
    void setDragByBody(bool drag) { dragByBody_ = drag; }

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    Bitmap skin_;
    int skinWidth_ = 0;
    int skinHeight_ = 0;
    bool dragByBody_ = true;
};

}  // namespace tiqora::ui
