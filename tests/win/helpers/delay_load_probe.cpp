// Makes a delay-loaded call into a library that does not exist
// (tiqora_absent.dll, bound through a delay-import library made like the
// program's own: cmake/curl.cmake), after the program's start-up handling of
// such failures and of crashes: the failure hook's line and the crash line
// go to the IT ticket log, and the process ends with the delay-load
// helper's exception code.
#include <windows.h>

#include "app/crash_report.h"
#include "win/system_libraries.h"

extern "C" int TiqoraAbsentFunction();

int wmain() {
    tiqora::reportCrashesInTheTicketLog();
    tiqora::logDelayLoadFailures();
    return TiqoraAbsentFunction();
}
