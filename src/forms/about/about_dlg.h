// The About box: template 100, "About Vandrel", opened from the system menu.
#pragma once

#include "ui/dialog_sk.h"

namespace tiqora {

class CAboutDlg : public ui::CDialogSK {
public:
    CAboutDlg();
};

}  // namespace tiqora
