#include "tracking/popup_dlg.h"

#include <cstdlib>

#include "resource.h"

namespace tiqora {

CpopUp::CpopUp(std::wstring commandLineTail) : ui::CDialogSK(IDD_POPUP), tail_(std::move(commandLineTail)) {}

bool CpopUp::OnCommand(int id, int code, HWND control) {
    if (id == IDC_POPUP_CLOSE) std::exit(0);
    return ui::CDialogSK::OnCommand(id, code, control);
}

}  // namespace tiqora
