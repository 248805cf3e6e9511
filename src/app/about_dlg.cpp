#include "app/about_dlg.h"

#include "resource.h"

namespace tiqora {

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX) {}

}  // namespace tiqora
