// A small dialog program the UI driver is tested against: each control
// reports what the program saw in the status line, the way the product's
// dialogs react to the same input.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "driver_target_ids.h"

namespace {

void setStatus(HWND dialog, const std::wstring& text) { SetDlgItemTextW(dialog, IDC_TARGET_STATUS, text.c_str()); }

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        for (const wchar_t* item : {L"Home", L"Office", L"Corporate"})
            SendDlgItemMessageW(dialog, IDC_TARGET_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_TARGET_COMBO && HIWORD(wParam) == CBN_SELCHANGE) {
            const auto index = SendDlgItemMessageW(dialog, IDC_TARGET_COMBO, CB_GETCURSEL, 0, 0);
            setStatus(dialog, L"selected " + std::to_wstring(index));
        } else if (LOWORD(wParam) == IDC_TARGET_EDIT && HIWORD(wParam) == EN_CHANGE) {
            wchar_t text[64] = {};
            GetDlgItemTextW(dialog, IDC_TARGET_EDIT, text, 64);
            setStatus(dialog, std::wstring(L"typed ") + text);
        } else if (LOWORD(wParam) == IDC_TARGET_ASK) {
            const int answer = MessageBoxW(dialog, L"Save the ticket?\nIt will be sent later.", L"Driver target", MB_OK);
            setStatus(dialog, L"answered " + std::to_wstring(answer));
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 7);
        }
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_TARGET_LINK && (header->code == NM_CLICK || header->code == NM_RETURN))
            setStatus(dialog, L"link clicked");
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DRIVER_TARGET), nullptr, dialogProc, 0));
}
