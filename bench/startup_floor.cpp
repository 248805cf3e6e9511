// The floors of the start-up benchmark: the least a program of Tiqora Desk's
// kind does before its dialog is on screen. It imports the same system DLLs
// as TiqoraDesk.exe (one cheap call into each library the runtime does not
// already pull in), registers a dialog class as a copy of the system dialog
// class (as the program registers its main window class), creates a dialog
// from its template, shows and paints it, and runs a dialog message loop
// until the dialog is closed.
//
// Built plain it is startup_floor.exe: a 300 x 336 dialog-unit popup dialog
// with two buttons (startup_floor.rc). Built with FLOOR_DIALOG (the form's
// template id) and FLOOR_CLOSE (its close button) it is a form's own floor:
// the same program creating that form's dialog from the form's own template
// (startup_floor_form.rc for the support request form,
// startup_floor_it_ticket.rc, startup_floor_reply_popup.rc,
// startup_floor_feedback.rc), with none of the program's code.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#ifdef FLOOR_DIALOG
#include "resource.h"
#define IDD_FLOOR_DIALOG FLOOR_DIALOG
#define IDC_FLOOR_CLOSE FLOOR_CLOSE
#else
#include "startup_floor.h"
#endif

namespace {

#ifdef FLOOR_DIALOG
// The program's main window class, which the support request form's template
// names; the other forms are dialogs of the system class.
constexpr wchar_t kFloorClass[] = L"Tiqora_Desk";
#else
constexpr wchar_t kFloorClass[] = L"Startup_Floor";
#endif

// One call into each of ADVAPI32, COMCTL32, GDI32 and SHELL32, so the import
// table holds the same set as TiqoraDesk.exe (KERNEL32, USER32 and msvcrt are
// imported anyway). tools/bench-startup.sh warns when the two sets differ.
// The common controls registered are those the forms' templates name: the
// standard ones and the IT ticket form's links (SysLink).
void touchImportedLibraries() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) RegCloseKey(key);

    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) LocalFree(arguments);

    GetStockObject(DEFAULT_GUI_FONT);
}

bool registerDialogClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(nullptr, MAKEINTATOM(0x8002), &windowClass)) return false;  // the system dialog class
    windowClass.lpszClassName = kFloorClass;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    return RegisterClassExW(&windowClass) != 0;
}

INT_PTR CALLBACK floorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FLOOR_CLOSE || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            return TRUE;
        }
#ifdef IDC_FLOOR_MIN
        if (LOWORD(wParam) == IDC_FLOOR_MIN) {
            ShowWindow(dialog, SW_MINIMIZE);
            return TRUE;
        }
#endif
        return FALSE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    touchImportedLibraries();
    if (!registerDialogClass()) return 1;

    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_FLOOR_DIALOG), nullptr, floorDialogProc, 0);
    if (!dialog) return 2;
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
