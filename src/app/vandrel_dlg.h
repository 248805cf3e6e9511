// The main dialog. Its initialisation decides the mode of the whole process
// from the command-line tail: it becomes the support request form itself, or
// stays invisible and runs one child dialog (feedback, IT ticket, reply
// popup) modally, or re-sends pending tickets without showing anything.
#pragma once

#include <memory>
#include <string>

#include "core/app/command_line.h"
#include "ui/dialog_sk.h"
#include "win/process_values.h"

namespace tiqora {

class RequestForm;

class CVandrelDlg : public ui::CDialogSK {
public:
    explicit CVandrelDlg(ProcessValues& values);
    ~CVandrelDlg() override;

    const std::wstring& commandLineTail() const { return tail_; }

protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& message) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;

private:
    void addAboutMenuItem();
    // Takes this mode's single-instance guard; false when the process must
    // end instead: another instance holds the guard, or an administrator
    // already chats about the replied ticket.
    bool takeSingleInstanceGuard();
    void loadProcessValues();
    void dispatch(Mode mode);
    void setUpRequestForm();
    void paintMinimisedIcon();

    ProcessValues& values_;
    std::wstring tail_;
    HICON icon_ = nullptr;
    std::unique_ptr<RequestForm> requestForm_;  // set up in the support request mode
};

}  // namespace tiqora
