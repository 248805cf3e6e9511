// The IT ticket form (template 144), run by the "/sys" mode while the main
// dialog stays hidden.
#pragma once

#include "app/process_values.h"
#include "ui/dialog_sk.h"

namespace tiqora {

class CSystemAdminDlg : public ui::CDialogSK {
public:
    explicit CSystemAdminDlg(ProcessValues& values);

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    ProcessValues& values_;
};

}  // namespace tiqora
