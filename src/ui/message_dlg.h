// MessageDlg: the program's own modal message box in the skinned style: a
// picture telling good news from bad (kind 1 = positive), the text in a
// large or a small field, and one OK button.
#pragma once

#include <string>

#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "win/gdi.h"

namespace tiqora::ui {

class MessageDlg : public CDialogSK {
public:
    MessageDlg();

    int kind = 0;            // 1 positive, anything else negative
    std::wstring text;       // may hold line breaks ("\n")
    bool smallText = false;  // the small field (long texts) instead of the large one

    // Runs the box modally above `owner` (by default the thread's active
    // window), which is disabled meanwhile, so that the box stands above a
    // topmost form and the form cannot be clicked again until it closes.
    // The same object may be run again; each run starts afresh.
    void Run(HWND owner = GetActiveWindow());

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;

private:
    void centreOverOwner();

    Font largeFont_;
    Font smallFont_;
    CHoverBtn okButton_;
    HWND owner_ = nullptr;
};

// Shows one message in a fresh MessageDlg (any non-zero `smallText` counts).
void ShowMessage(int kind, const std::wstring& text, BOOL smallText);

}  // namespace tiqora::ui
