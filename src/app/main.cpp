// TiqoraDesk.exe: the help-desk client of the antivirus suite.
#include <windows.h>

#include "app/crash_report.h"
#include "app/vandrel_app.h"
#include "win/suite_library.h"
#include "win/system_libraries.h"

// The one place the program ends: every mode returns here once its dialogs
// have ended (a form ends them all with ui::Dialog::EndProcess), always with
// exit code 0. A crash ends it elsewhere, with the exception code
// (app/crash_report.h).
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tiqora::reportCrashesInTheTicketLog();
    tiqora::logDelayLoadFailures();
    tiqora::restrictDllSearchPath();
    tiqora::CVandrelApp app;
    app.InitInstance();
    return 0;
}
