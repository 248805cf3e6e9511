// The UI driver against a small dialog program: each action must reach the
// program the way a user's input would.
#include "harness/ui_driver.h"

#include <gtest/gtest.h>

#include "harness/test_paths.h"
#include "helpers/driver_target_ids.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

std::wstring statusOf(HWND dialog) { return textOf(control(dialog, IDC_TARGET_STATUS)); }

void waitForStatus(HWND dialog, const std::wstring& expected) {
    waitUntil([&] { return statusOf(dialog) == expected; }, "status \"" + toUtf8(expected) + "\"");
}

TEST(UiDriver, TypesSelectsClicksAndReadsMessageBoxes) {
    AppProcess target(buildFile(L"driver_target.exe"), L"");
    HWND dialog = target.waitForWindow(L"#32770", L"Driver target");

    setText(dialog, IDC_TARGET_EDIT, L"Asha");
    EXPECT_EQ(textOf(control(dialog, IDC_TARGET_EDIT)), L"Asha");
    waitForStatus(dialog, L"typed Asha");

    selectComboItem(dialog, IDC_TARGET_COMBO, 2);
    waitForStatus(dialog, L"selected 2");

    clickLink(dialog, IDC_TARGET_LINK);
    waitForStatus(dialog, L"link clicked");

    click(dialog, IDC_TARGET_ASK);
    const MessageBoxInfo box = waitForMessageBox(target.pid());
    EXPECT_EQ(box.caption, L"Driver target");
    EXPECT_EQ(box.text, L"Save the ticket?\nIt will be sent later.");
    dismissMessageBox(box);
    waitForStatus(dialog, L"answered 1");

    pressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(target.waitForExit(), 7u);
}

TEST(UiDriver, WaitsFailWithAClearMessage) {
    AppProcess target(buildFile(L"driver_target.exe"), L"");
    HWND dialog = target.waitForWindow(L"#32770", L"Driver target");
    try {
        target.waitForWindow(L"#32770", L"No such window", 200);
        FAIL() << "the wait did not time out";
    } catch (const DriverError& error) {
        EXPECT_NE(std::string(error.what()).find("timed out after 200 ms waiting for a visible window"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(control(dialog, 4242), DriverError);
    EXPECT_THROW(target.waitForExit(100), DriverError);
}

}  // namespace
}  // namespace tiqora::test
