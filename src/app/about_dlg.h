// The About box: template 100, "About Vandrel", opened from the system menu.
#pragma once

#include "ui/dialog.h"

namespace tiqora {

class CAboutDlg : public ui::Dialog {
public:
    CAboutDlg();
};

}  // namespace tiqora
