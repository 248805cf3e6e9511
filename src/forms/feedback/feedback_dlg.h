// The feedback form (template 171), run by the "/feedback" mode while the
// main dialog stays hidden: topmost and captionless, the customer rates the
// service, ticks what the feedback is about, describes it in at most 256
// characters and submits it to the vendor's help desk. It also starts the
// suite's remote-support tool and shows the vendor's support number.
//
// Every way out of it ends the process with exit code 0: Cancel, X, Escape,
// and a completed submission. Only a submission that lacks a description or
// a rating keeps the form open, as it was.
#pragma once

#include <array>
#include <string>

#include "features/feedback/feedback_details.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "ui/message_dlg.h"
#include "win/gdi.h"
#include "win/suite_library.h"

namespace tiqora {

class Feedback : public ui::CDialogSK {
public:
    // `messageBox` is the process's one feedback message box: every message
    // of the submission is shown by running it again, above this form.
    explicit Feedback(ui::MessageDlg& messageBox);

protected:
    BOOL OnInitDialog() override;
    // Relays every message to the tooltips first. Return in the description
    // is a line break; Return anywhere else submits; Escape ends the process.
    bool PreTranslateMessage(MSG& message) override;
    bool OnCommand(int id, int code, HWND control) override;
    // Submit (IDOK), the button or Return.
    void OnOK() override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;
    // The hover word and the hand cursor; true when the cursor was set.
    bool OnSetCursor(HWND window, int hitTest, UINT mouseMessage) override;

private:
    // The submission: details, library, body, sending, the customer's
    // message and the feedback page; every step goes to the feedback log.
    void OnBnClickedOk();
    // Loads the transport library afresh and looks up SendWebdata3
    // (logged as LoadDll).
    void loadTransport();
    std::string issueTypes() const;
    void chooseRating(size_t index);
    void updateCounter();
    void startRemoteSupport();
    void createTooltips();

    ui::MessageDlg& messageBox_;
    CustomerDetails details_;      // read again at every submission
    TransportLibrary transport_;   // loaded again at every submission
    bool submitting_ = false;      // a submission is running (its messages are up)

    ui::Font textFont_;  // Verdana 14: headings, phone number
    ui::Font wordFont_;  // Verdana 20 bold: the rating words
    HCURSOR handCursor_ = nullptr;
    HWND tooltip_ = nullptr;  // owned by the form, destroyed with it

    std::array<ui::CHoverBtn, 5> ratingButtons_;
    std::array<ui::CHoverBtn, 5> chosenImages_;
    ui::CHoverBtn submitButton_;
    ui::CHoverBtn cancelButton_;
    ui::CHoverBtn closeButton_;
    ui::CHoverBtn remoteButton_;
    ui::CHoverBtn whatsAppButton_;
};

}  // namespace tiqora
