#include "win/system_libraries.h"

#include <windows.h>
#include <delayimp.h>

#include "win/handles.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

// Called by mingw-w64's delay-load helper (__delayLoadHelper2) when the
// library of a delay-loaded call does not load (dliFailLoadLib) or lacks the
// function (dliFailGetProc). Returning null lets the helper raise its
// exception, which the program's crash report then ends the process with.
FARPROC WINAPI delayLoadFailed(unsigned, PDelayLoadInfo info) {
    const std::string library = info && info->szDll ? info->szDll : "";
    const unsigned long error = info ? info->dwLastError : 0;
    writeTicketLog("Delay-loaded system library " + library + " could not be bound at its first call (error " +
                   std::to_string(error) + ")");
    return nullptr;
}

}  // namespace

std::optional<LibraryLoadFailure> keepSystemLibrariesLoaded(std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names) {
        SystemLibrary library(name);
        if (!library) return LibraryLoadFailure{toUtf8(name), GetLastError()};
        library.keep();
    }
    return std::nullopt;
}

void logDelayLoadFailures() { __pfnDliFailureHook2 = delayLoadFailed; }

}  // namespace tiqora
