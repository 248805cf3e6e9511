// Starting a log anew: both logs of the program (the IT ticket log and the
// feedback log) are deleted by their form as it opens once they have grown
// past kLogMaxBytes, so that neither grows without end.
#pragma once

namespace tiqora {

// Deletes the file at `path` when it is larger than kLogMaxBytes; the next
// line written starts a new file. True when it was deleted; false when it is
// missing, small enough, or cannot be deleted.
bool deleteLogIfOversized(const wchar_t* path);

}  // namespace tiqora
