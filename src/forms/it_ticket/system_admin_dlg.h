// CSystemAdminDlg: the IT ticket form (template 144), run by the "/sys" mode
// while the main dialog stays hidden. It shows who is asking (licence key,
// corporate id, the logon user name) and how the ticket will travel ("LAN" or
// "WEB"), takes an issue title, a priority and a description (and, for the
// contact customer, a mobile number and an e-mail address), validates them,
// hands the ticket to decideAndSend, shows the outcome and ends the process.
#pragma once

#include <string>
#include <vector>

#include "features/it_ticket/get_url.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "win/gdi.h"
#include "win/process_values.h"
#include "win/suite_exports.h"
#include "win/suite_library.h"

namespace tiqora {

class CSystemAdminDlg : public ui::CDialogSK {
public:
    explicit CSystemAdminDlg(ProcessValues& values);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;      // Return submits, as the Submit button does
    void OnCancel() override;  // Escape leaves, as Cancel does
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;
    bool OnSetCursor(HWND window, int hitTest, UINT mouseMessage) override;

private:
    void setUpLook();
    void loadSuiteLibraries();
    // Shows the delivery mode and, in a LAN mode, resolves the LAN server;
    // false when there is no usable LAN server (the form then never shows).
    bool showDeliveryMode();
    bool resolveLanServer();
    void fillIssueTitles();
    void fillPriorities();
    void createTicketFolders();
    void readIdentity();
    void setUpContactFields();
    void hideContactFields();
    void updateCounter();
    // Runs the ticket history modally over the form.
    void runTicketHistory();

    // The screenshot: the form leaves the screen, the primary display is
    // saved as a JPEG in C:\qx\, the form comes back and says whether the
    // picture was saved; the link then opens it, the hidden button does not.
    void takeScreenshot(bool openAfter);
    // Names the file from the licence code and the time and writes the
    // picture; true when it was written.
    bool captureScreenShot();

    void submit();
    // Validation and sending, then the outcome and the end of the program;
    // false when a check stopped the submission.
    bool validateAndSend();
    bool takeContactValues();
    void reportOutcome(int result, const std::wstring& ticketId);

    ProcessValues& values_;

    // The customer and the machine.
    std::wstring licenceCode_;
    std::wstring corporateId_;
    std::wstring adminTicketIni_;  // product data folder\DPX_AdminTicket.ini
    std::wstring ticketIni_;       // IT ticket folder\Tiqora.ini

    // The contact customer's fields: shown and required only for that
    // customer; a value stored by an earlier ticket is used as it is.
    bool contactRequired_ = false;
    std::wstring mobile_;
    std::wstring email_;

    // The LAN server as resolved when the form opened in LAN mode.
    std::wstring lanUrl_;
    LanServerAddress lanAddress_;

    // Entry points of the suite's libraries beyond those start-up resolved.
    SendWebdata4Fn sendWebdata4_ = nullptr;
    SendLocalDataFn sendLocalData_ = nullptr;  // screenshot delivery to the LAN server
    SuiteModule intranetPolicy_;               // DPXIntraPol.dll
    ReceiveClientReportsFn receiveClientReports_ = nullptr;

    // The screenshot flag (set by the first saved picture, never cleared)
    // and the latest picture's file.
    bool screenshotFlag_ = false;
    std::wstring screenshotPath_;
    bool capturing_ = false;

    // One submission at a time: the button is disabled, and a click that
    // still arrives (or Return) while one runs is ignored.
    bool submitting_ = false;

    HICON icon_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    ui::Font textFont_;
    ui::Font noteFont_;
    std::vector<ui::Bitmap> fieldIcons_;  // at a DPI above 96: the icons stretched to it
    ui::CHoverBtn screenshotButton_, historyButton_, submitButton_, cancelButton_, closeButton_;
};

}  // namespace tiqora
