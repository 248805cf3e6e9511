#include "win/ticket_log.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/log/ticket_log_format.h"
#include "win/handles.h"
#include "win/log_reset.h"

namespace tiqora {

namespace {

// Serialises appends across processes. The wait is bounded: a holder that
// hangs must not freeze the program, so after the time-out the line is
// written anyway. A mutex left abandoned by a process that died holding it
// counts as acquired.
class LogGuard {
public:
    LogGuard() : mutex_(CreateMutexW(nullptr, FALSE, L"Tiqora Desk Ticket Log")) {
        if (!mutex_) return;
        const DWORD wait = WaitForSingleObject(mutex_.get(), kWaitMilliseconds);
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~LogGuard() {
        if (owned_) ReleaseMutex(mutex_.get());
    }
    LogGuard(const LogGuard&) = delete;
    LogGuard& operator=(const LogGuard&) = delete;

private:
    static constexpr DWORD kWaitMilliseconds = 3000;
    KernelHandle mutex_;
    bool owned_ = false;
};

}  // namespace

LogTime currentLogTime() {
    // The system's clock call: no lock of the C runtime, so the crash writer
    // can use it too.
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LogTime{now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute};
}

int writeTicketLog(const char* message) {
    const std::string line = formatTicketLogLine(currentLogTime(), message ? message : "") + "\n";
    LogGuard guard;
    FILE* file = _wfopen(kTicketLogPath, L"at");
    if (!file) return 0;
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
    return 1;
}

int writeTicketLogAfterCrash(const char* format, ...) {
    char line[512];
    const size_t room = sizeof line - 2;  // the line break's place
    size_t used = formatTicketLogPrefix(currentLogTime(), line, room);
    va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(line + used, room - used, format, values);
    va_end(values);
    if (length > 0) used += std::min(static_cast<size_t>(length), room - used - 1);
    line[used++] = '\r';
    line[used++] = '\n';

    LogGuard guard;
    const KernelHandle file(CreateFileW(kTicketLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    DWORD written = 0;
    WriteFile(file.get(), line, static_cast<DWORD>(used), &written, nullptr);
    return 1;
}

bool resetTicketLogIfOversized() {
    LogGuard guard;
    return deleteLogIfOversized(kTicketLogPath);
}

}  // namespace tiqora
