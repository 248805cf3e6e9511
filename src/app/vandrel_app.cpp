#include "app/vandrel_app.h"

#include <windows.h>
#include <commctrl.h>

#include "app/vandrel_dlg.h"

namespace tiqora {

namespace {

bool registerMainWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(nullptr, MAKEINTATOM(0x8002), &windowClass)) return false;  // the system dialog class
    windowClass.lpszClassName = kMainWindowClass;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

bool CVandrelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);

    if (!registerMainWindowClass()) return false;

    CVandrelDlg mainDialog(values_);
    mainDialog.DoModal();
    return false;
}

}  // namespace tiqora
