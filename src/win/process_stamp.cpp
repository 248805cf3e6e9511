#include "win/process_stamp.h"

#include <windows.h>

#include "win/handles.h"

namespace tiqora {

namespace {

std::uint64_t creationTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

ProcessStamp currentProcessStamp() {
    return ProcessStamp{static_cast<std::uint32_t>(GetCurrentProcessId()), creationTimeOf(GetCurrentProcess())};
}

bool processStillRuns(const ProcessStamp& stamp) {
    if (stamp.id == GetCurrentProcessId()) return stamp.started == currentProcessStamp().started;
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, stamp.id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // else no such process: gone
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process.get(), &exitCode) && exitCode != STILL_ACTIVE) return false;
    // The id may belong to a process started after the one stamped.
    return creationTimeOf(process.get()) == stamp.started;
}

}  // namespace tiqora
