// The message dialog gallery of the demo (tools/demo.sh): the program's own
// message box with the good-news and the bad-news skin, each with a short
// text (large field) and a long one (small field), saved as PNG pictures.
//
//   kit_gallery OUTDIR
//
// The boxes run on this program's main thread, as in the product; a second
// thread waits for each, photographs it and presses OK.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "harness/screenshot.h"
#include "harness/ui_driver.h"
#include "resource.h"
#include "ui/message_dlg.h"
#include "win/wide_text.h"

namespace {

struct Variant {
    const char* file;
    int kind;
    bool smallText;
    const wchar_t* text;
};

const Variant kVariants[] = {
    {"message-positive-short", 1, false, L"ScreenShot Taken....!"},
    {"message-positive-long", 1, true,
     L"Thank You !!.\nTicket Submitted to Web Server. \nYour Request has been submitted.\nTicket ID =  wt1001\n"
     L"System Admin Team will contact you soon.\n"},
    {"message-negative-short", 0, false, L"Ticket Submission Failed..!!"},
    {"message-negative-long", 0, true,
     L"The ticket could not be delivered.\nIt is kept and will be sent again\nthe next time the suite checks in."},
};

HWND visibleMessageBox(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM result) {
            if (IsWindowVisible(window) && GetDlgItem(window, IDC_MESSAGE_OK) && GetDlgItem(window, IDC_MESSAGE_LARGE)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::cerr << "usage: kit_gallery OUTDIR\n";
        return 2;
    }
    const std::wstring folder = argv[1];
    CreateDirectoryW(folder.c_str(), nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);

    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> failed{false};
    std::thread photographer([&] {
        for (const Variant& variant : kVariants) {
            try {
                HWND box = nullptr;
                tiqora::test::waitUntil([&] { return (box = visibleMessageBox(uiThread)) != nullptr; },
                                        std::string("the message box ") + variant.file);
                const std::string file = std::string(variant.file) + ".png";
                if (!tiqora::test::saveWindowPng(box, folder + L"\\" + tiqora::fromUtf8(file))) failed = true;
                std::cout << "  saved " << file << std::endl;
                PostMessageW(GetDlgItem(box, IDC_MESSAGE_OK), BM_CLICK, 0, 0);
                tiqora::test::waitUntil([&] { return !IsWindow(box); }, "the message box to close");
            } catch (const std::exception& error) {
                std::cerr << "kit_gallery: " << error.what() << std::endl;
                failed = true;
                return;
            }
        }
    });
    for (const Variant& variant : kVariants) {
        tiqora::ui::MessageDlg box;
        box.kind = variant.kind;
        box.smallText = variant.smallText;
        box.text = variant.text;
        box.Run(nullptr);
        if (failed) break;
    }
    photographer.join();
    return failed ? 1 : 0;
}
