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
    // The classes the forms use: the histories' list views and the feedback
    // form's tooltip (among the Windows 95 classes) and the IT ticket form's
    // links. Windows' version 6 controls register SysLink only when asked
    // for it, and a dialog naming a class that is not registered does not
    // open (Wine registers every class when the library loads).
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    if (!registerMainWindowClass()) return false;

    CVandrelDlg mainDialog(values_);
    mainDialog.DoModal();
    return false;
}

}  // namespace tiqora
