// The support request form: the main dialog becomes it when the program is
// started without a switch. This object sets the form up (skin, strips,
// fonts, combos, limits, the customer's details), answers its commands and
// colours, validates a request and hands it to the call-tracking submission.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "features/support_request/request_details.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "win/gdi.h"
#include "win/process_values.h"

namespace tiqora {

class RequestForm {
public:
    // `suiteFolder`: the folder whose transport library the submission
    // loads (QXPath.ini's).
    RequestForm(ui::CDialogSK& dialog, const ProductFolders& folders, std::wstring suiteFolder);
    RequestForm(const RequestForm&) = delete;
    RequestForm& operator=(const RequestForm&) = delete;

    void setUp();
    // Validates and, when valid, submits (which ends the process).
    void submit();
    // Commands of the form's own controls; false for others.
    bool onCommand(int id, int code);
    // WM_CTLCOLOR* of the form's controls: the brush, or null for the
    // default colouring.
    HBRUSH onColour(UINT message, HDC dc, HWND control);

private:
    HWND item(int id) const { return GetDlgItem(dialog_.hwnd(), id); }
    std::wstring textOf(int id) const;
    void fillCombos();
    void applyFonts();
    void updateCounter();
    void markInvalid(int id, bool invalid);
    void openHistory();

    ui::CDialogSK& dialog_;
    ProductFolders folders_;
    std::wstring suiteFolder_;
    RequestDetails details_;

    // Fields whose last check failed, and their last read values.
    bool nameInvalid_ = false, mobileInvalid_ = false, emailInvalid_ = false;
    std::wstring name_, mobile_, email_;

    ui::Brush highlightBrush_;
    ui::Font fieldFont_, descriptionFont_, labelFont_, footnoteFont_;
    std::vector<ui::Bitmap> fieldIcons_;  // at a DPI above 96: the icons stretched to it
    ui::CHoverBtn submitButton_, historyButton_, closeButton_, minButton_;
};

}  // namespace tiqora
