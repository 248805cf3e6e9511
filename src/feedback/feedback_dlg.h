// The feedback form (template 171): topmost, captionless; every way out of
// it ends the process with exit code 0.
#pragma once

#include "ui/dialog.h"

namespace tiqora {

class Feedback : public ui::Dialog {
public:
    Feedback();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
};

}  // namespace tiqora
