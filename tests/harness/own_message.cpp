#include "harness/own_message.h"

#include "resource.h"

namespace tiqora::test {

OwnMessage waitForOwnMessage(const AppProcess& app, DWORD timeoutMs) {
    OwnMessage message;
    message.window = app.waitForDialogWith(IDC_MESSAGE_SMALL, timeoutMs);
    waitUntil(
        [&] {
            const std::wstring large = textOf(control(message.window, IDC_MESSAGE_LARGE));
            const std::wstring small = textOf(control(message.window, IDC_MESSAGE_SMALL));
            message.smallText = !small.empty();
            message.text = message.smallText ? small : large;
            return !message.text.empty();
        },
        "the message to show its text");
    return message;
}

void dismiss(const OwnMessage& message) {
    click(message.window, IDC_MESSAGE_OK);
    waitUntil([&] { return !IsWindow(message.window) || !isVisible(message.window); }, "the message to close");
}

}  // namespace tiqora::test
