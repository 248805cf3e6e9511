#include "win/ticket_log.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

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
    LogTime fields;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) == 0) {
        fields.day = local.tm_mday;
        fields.month = local.tm_mon + 1;
        fields.year = local.tm_year + 1900;
        fields.hour = local.tm_hour;
        fields.minute = local.tm_min;
    }
    return fields;
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

bool resetTicketLogIfOversized() {
    LogGuard guard;
    return deleteLogIfOversized(kTicketLogPath);
}

}  // namespace tiqora
