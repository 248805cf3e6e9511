// The feedback log, c:\qx\Feedback.log: every step of a feedback submission,
// one plain line per call, with no stamp or prefix. Only one feedback form
// runs at a time (the program's single-instance guard), so no other process
// appends meanwhile.
#pragma once

#include <string_view>

namespace tiqora {

inline constexpr wchar_t kFeedbackLogPath[] = L"c:\\qx\\Feedback.log";

// Opens the log for appending in text mode, writes `line` and a line break
// (CR LF on disk, as is every line feed inside `line`) and closes it again.
// False when the file cannot be opened, for instance when c:\qx does not
// exist: the folder is never created and the line is lost without notice.
bool writeFeedbackLog(std::string_view line);

// Deletes the log when it has grown past 153000 bytes (deleteLogIfOversized),
// so the next line starts a new file. Called once when the feedback form
// starts. True when deleted.
bool resetFeedbackLogIfOversized();

}  // namespace tiqora
