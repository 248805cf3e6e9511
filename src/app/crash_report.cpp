#include "app/crash_report.h"

#include <windows.h>

#include <csignal>
#include <cstdint>

#include "win/ticket_log.h"

namespace tiqora {

namespace {

LONG volatile crashing = 0;

// The file name (system code page) of the module that holds `address`, and
// the address's offset in it; false when no module holds it. VirtualQuery
// finds the module's base without the loader's lock; GetModuleFileNameW
// takes that lock, which is re-entrant for a crashed thread that held it.
bool moduleAt(const void* address, char (&name)[MAX_PATH], unsigned long long& offset) {
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(address, &region, sizeof region) || region.Type != MEM_IMAGE || !region.AllocationBase)
        return false;
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(region.AllocationBase), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const wchar_t* fileName = path;
    for (const wchar_t* c = path; *c; ++c)
        if (*c == L'\\' || *c == L'/') fileName = c + 1;
    if (!WideCharToMultiByte(CP_ACP, 0, fileName, -1, name, MAX_PATH, nullptr, nullptr)) return false;
    offset = static_cast<unsigned long long>(static_cast<const char*>(address) -
                                             static_cast<const char*>(region.AllocationBase));
    return true;
}

// Writes the crash line and ends the process with the exception code. Runs
// on the thread that crashed, whatever state the process is in: nothing
// here allocates from the heap (the line is built on the stack), and a
// second exception meanwhile, on any thread, ends the process at once.
LONG WINAPI reportAndEnd(EXCEPTION_POINTERS* exception) {
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    if (InterlockedExchange(&crashing, 1) == 0) {
        const void* address = exception->ExceptionRecord->ExceptionAddress;
        char module[MAX_PATH];
        unsigned long long offset = 0;
        if (moduleAt(address, module, offset)) {
            writeTicketLogAfterCrash("Unhandled exception 0x%08lX at %s+0x%llx", code, module, offset);
        } else {
            writeTicketLogAfterCrash("Unhandled exception 0x%08lX at 0x%llx", code,
                                     static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
        }
    }
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The code a program ends with when it stops itself on a failed check, as
// Windows reports a fail-fast stop (the crash line spells it out).
constexpr DWORD kStoppedItself = 0xC0000409;

// abort(): a check of the C++ library failed (a read of an empty optional,
// an index past a container's end) or an exception reached the top
// uncaught. Without this the C runtime would end the process with code 3,
// silently, or show its own message box.
void reportAbortAndEnd(int) {
    if (InterlockedExchange(&crashing, 1) == 0)
        writeTicketLogAfterCrash("Unhandled exception 0xC0000409 at abort: the program stopped on a failed check");
    TerminateProcess(GetCurrentProcess(), kStoppedItself);
}

}  // namespace

void reportCrashesInTheTicketLog() {
    SetUnhandledExceptionFilter(reportAndEnd);
    std::signal(SIGABRT, reportAbortAndEnd);
}

}  // namespace tiqora
