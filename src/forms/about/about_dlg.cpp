#include "forms/about/about_dlg.h"

#include "resource.h"

namespace tiqora {

CAboutDlg::CAboutDlg() : ui::CDialogSK(IDD_ABOUTBOX) {}

}  // namespace tiqora
