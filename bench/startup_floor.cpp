// The floor of the start-up benchmark: the least a program of Tiqora Desk's
// kind does before its main dialog is on screen. It imports the same system
// DLLs as TiqoraDesk.exe (one cheap call into each library the runtime does
// not already pull in), registers its dialog class as a copy of the system
// dialog class, creates a 300 x 336 dialog-unit popup dialog with two buttons
// from its template, shows and paints it, and runs a dialog message loop
// until the dialog is closed. Built with FLOOR_WITH_FORM_TEMPLATE it is
// startup_floor_form.exe: the same program creating the support request
// form's dialog from the form's own template (startup_floor_form.rc).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#ifdef FLOOR_WITH_FORM_TEMPLATE
// startup_floor_form.exe: the support request form's template and class.
#include "resource.h"
#define IDD_FLOOR_DIALOG IDD_TIQORA_DIALOG
#define IDC_FLOOR_CLOSE IDC_REQUEST_CLOSE
#define IDC_FLOOR_MIN IDC_REQUEST_MIN
#else
#include "startup_floor.h"
#endif

namespace {

#ifdef FLOOR_WITH_FORM_TEMPLATE
constexpr wchar_t kFloorClass[] = L"Tiqora_Desk";
#else
constexpr wchar_t kFloorClass[] = L"Startup_Floor";
#endif

// One call into each of ADVAPI32, COMCTL32, GDI32 and SHELL32, so the import
// table holds the same set as TiqoraDesk.exe (KERNEL32, USER32 and msvcrt are
// imported anyway). tools/bench-startup.sh warns when the two sets differ.
void touchImportedLibraries() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
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
        if (LOWORD(wParam) == IDC_FLOOR_MIN) {
            ShowWindow(dialog, SW_MINIMIZE);
            return TRUE;
        }
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
