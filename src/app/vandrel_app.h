// The application object: registers the main dialog's window class and runs
// the main dialog, whose initialisation decides the mode of the process.
#pragma once

#include "win/process_values.h"

namespace tiqora {

class CVandrelApp {
public:
    // Runs the whole program. Always false: the program ends when the main
    // dialog has ended, whichever way it ended.
    bool InitInstance();

private:
    ProcessValues values_;
};

// The window class of the main dialog: a copy of the system dialog class
// under its own name.
inline constexpr wchar_t kMainWindowClass[] = L"Tiqora_Desk";

}  // namespace tiqora
