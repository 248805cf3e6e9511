#include "feedback/feedback_dlg.h"

#include <cstdlib>

#include "resource.h"

namespace tiqora {

Feedback::Feedback() : ui::Dialog(IDD_FEEDBACK) {}

BOOL Feedback::OnInitDialog() {
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowTextW(hwnd(), L"FeedBack");
    return TRUE;
}

bool Feedback::OnCommand(int id, int code, HWND control) {
    if (id == IDCANCEL || id == IDC_FEEDBACK_X) std::exit(0);
    return ui::Dialog::OnCommand(id, code, control);
}

}  // namespace tiqora
