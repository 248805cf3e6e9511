// CDialogSK: the skinned dialog every dialog of the program derives from.
// Its client area is painted with a bitmap from the resources (the skin),
// drawn from the resource data itself and stretched to fit, and a click
// anywhere on its body moves the window, since the skinned dialogs have no
// caption bar to grab.
#pragma once

#include <optional>

#include "ui/dialog.h"
#include "ui/resource_dib.h"

namespace tiqora::ui {

class CDialogSK : public Dialog {
public:
    explicit CDialogSK(int templateId) : Dialog(templateId) {}

    // Takes bitmap resource `bitmapId` of the program as the skin; a
    // resource that is missing or not a bitmap it can draw clears the skin
    // (FALSE).
    BOOL LoadSkin(int bitmapId);

    // The resource number of the skin, 0 when there is none.
    int skinId() const { return skin_ ? skinId_ : 0; }
    void setDragByBody(bool drag) { dragByBody_ = drag; }

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    std::optional<ResourceDib> skin_;
    int skinId_ = 0;
    bool dragByBody_ = true;
};

}  // namespace tiqora::ui
