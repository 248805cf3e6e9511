// Cross-process guards of the start-up: the named mutex of the mode and the
// check whether an administrator already chats about a replied ticket.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tiqora {

enum class GuardResult {
    Acquired,        // this process now holds the guard
    AlreadyRunning,  // another process holds it: this one ends at once
    Unavailable,     // the mutex cannot be created (e.g. the name holds '\'): no guard
};

// Creates the named mutex, initially owned. Its handle stays open until the
// process ends, which releases it.
GuardResult takeNamedGuard(const std::wstring& name);

// Marks `window` (the main dialog) as belonging to the process that holds
// the shared guard, so that a later start can find that process's windows.
void markGuardHolder(HWND window);

// Takes the mark off again; a window must lose its properties before it is
// destroyed.
void unmarkGuardHolder(HWND window);

// Brings the window the user works with in the process that holds the shared
// guard (its topmost visible, enabled top-level window: the form, or the
// message that form shows) to the front, restoring it when minimised. False
// when that process shows none (the resend shows nothing).
bool raiseGuardHolder();

// Walks the top-level windows from the top of the Z order and returns the
// title of the first whose non-empty title contains `marker` (case-sensitive).
std::optional<std::wstring> findWindowTitled(const std::wstring& marker);

}  // namespace tiqora
