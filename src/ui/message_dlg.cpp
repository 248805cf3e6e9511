#include "ui/message_dlg.h"

#include "resource.h"
#include "ui/look.h"

namespace tiqora::ui {

MessageDlg::MessageDlg() : CDialogSK(IDD_MESSAGE) {}

void MessageDlg::Run(HWND owner) {
    owner_ = owner;
    DoModal(owner);
}

void ShowMessage(int kind, const std::wstring& text, BOOL smallText) {
    MessageDlg box;
    box.kind = kind;
    box.text = text;
    box.smallText = smallText != FALSE;
    box.Run();
}

void MessageDlg::centreOverOwner() {
    RECT box;
    GetWindowRect(hwnd(), &box);
    RECT area;
    if (!owner_ || !IsWindowVisible(owner_) || !GetWindowRect(owner_, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL MessageDlg::OnInitDialog() {
    largeFont_ = verdanaFont(25);
    smallFont_ = verdanaFont(15);
    HWND large = item(IDC_MESSAGE_LARGE);
    HWND small = item(IDC_MESSAGE_SMALL);
    SendMessageW(large, WM_SETFONT, reinterpret_cast<WPARAM>(largeFont_.get()), TRUE);
    SendMessageW(small, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_.get()), TRUE);
    EnableWindow(large, FALSE);
    EnableWindow(small, FALSE);

    LoadSkin(kind == 1 ? IDB_MESSAGE_POSITIVE : IDB_MESSAGE_NEGATIVE);
    okButton_.Attach(hwnd(), IDC_MESSAGE_OK);
    okButton_.LoadStrip(IDB_STRIP_OK);
    centreOverOwner();

    ShowWindow(hwnd(), SW_SHOWNORMAL);
    // Static controls take "\r\n" as a line break.
    std::wstring shown;
    for (wchar_t c : text) {
        if (c == L'\n' && (shown.empty() || shown.back() != L'\r')) shown += L'\r';
        shown += c;
    }
    if (smallText) {
        ShowWindow(large, SW_HIDE);
        EnableWindow(small, TRUE);
        SetWindowTextW(small, shown.c_str());
    } else {
        // The small field overlaps the large one and fills itself white:
        // left visible, it would paint over the large text.
        ShowWindow(small, SW_HIDE);
        EnableWindow(large, TRUE);
        SetWindowTextW(large, shown.c_str());
    }
    return TRUE;
}

bool MessageDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_MESSAGE_OK) {
        EndDialog(0);
        return true;
    }
    return CDialogSK::OnCommand(id, code, control);
}

HBRUSH MessageDlg::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORDLG) return whiteBrush();
    if (message != WM_CTLCOLORSTATIC) return nullptr;
    if (control == item(IDC_MESSAGE_LARGE)) {
        // Black text straight on the skin.
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // The small field is filled white under its text.
    SetBkMode(dc, TRANSPARENT);
    return whiteBrush();
}

}  // namespace tiqora::ui
