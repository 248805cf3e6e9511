// What happens when an exception reaches the top of a thread unhandled (an
// access violation in a suite library, a system library that a delay-loaded
// call could not bind, ...): the IT ticket log gets one line naming the
// exception code and where it happened, and the process ends at once with
// the exception code as its exit code. A stop on a failed check (abort(): a
// check of the C++ library, an exception nobody caught) is reported the same
// way, with the fail-fast code 0xC0000409. No debugger is asked for and no
// dialog is shown, so a scheduled "/sysp" never waits for a user and an
// administrator finds the cause in the log.
#pragma once

namespace tiqora {

// Installs the process's unhandled-exception filter. Called first thing at
// start-up.
void reportCrashesInTheTicketLog();

}  // namespace tiqora
