#include "win/feedback_log.h"

#include <cstdio>
#include <string>

#include "win/log_reset.h"

namespace tiqora {

bool writeFeedbackLog(std::string_view line) {
    std::FILE* file = _wfopen(kFeedbackLogPath, L"at");
    if (!file) return false;
    const std::string entry = std::string(line) + "\n";
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    return std::fclose(file) == 0 && written;
}

bool resetFeedbackLogIfOversized() { return deleteLogIfOversized(kFeedbackLogPath); }

}  // namespace tiqora
