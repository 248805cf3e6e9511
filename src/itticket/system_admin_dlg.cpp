#include "itticket/system_admin_dlg.h"

#include <cstdlib>

#include "resource.h"

namespace tiqora {

CSystemAdminDlg::CSystemAdminDlg(ProcessValues& values) : ui::CDialogSK(IDD_SYSTEM_ADMIN), values_(values) {}

bool CSystemAdminDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_TICKET_CANCEL:
        std::exit(0);
    case IDC_TICKET_X:
        values_.startupTransport.unload();
        std::exit(0);
    default:
        return ui::CDialogSK::OnCommand(id, code, control);
    }
}

}  // namespace tiqora
