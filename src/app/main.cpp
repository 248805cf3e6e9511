// TiqoraDesk.exe: the help-desk client of the antivirus suite.
#include <windows.h>

#include "app/vandrel_app.h"
#include "win/suite_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tiqora::restrictDllSearchPath();
    tiqora::CVandrelApp app;
    app.InitInstance();
    return 0;
}
