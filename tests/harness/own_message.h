// The program's own message box (MessageDlg) as a test sees it: its window,
// which of its two text fields shows the text, and the text.
#pragma once

#include <windows.h>

#include <string>

#include "harness/ui_driver.h"

namespace tiqora::test {

struct OwnMessage {
    HWND window = nullptr;
    bool smallText = false;
    std::wstring text;  // line breaks as the static shows them ("\r\n")
};

// Waits until the process shows its message box with a text.
OwnMessage waitForOwnMessage(const AppProcess& app, DWORD timeoutMs = kDefaultWaitMs);
// Clicks its OK button and waits until it is gone.
void dismiss(const OwnMessage& message);

}  // namespace tiqora::test
