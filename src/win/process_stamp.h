// Which process did something, told so that a process id the system has
// given to a new process since is not taken for the old one: the id and
// the process's creation time.
#pragma once

#include <cstdint>

namespace tiqora {

struct ProcessStamp {
    std::uint32_t id = 0;
    std::uint64_t started = 0;  // creation time, 100-ns units since 1601 (FILETIME)
};

// This process's stamp.
ProcessStamp currentProcessStamp();

// Whether the process of `stamp` still runs. A process that cannot be
// looked at (another user's) counts as running: its work is left alone.
bool processStillRuns(const ProcessStamp& stamp);

}  // namespace tiqora
