// The reply notification popup (template 193), run by the "/SAReply=L" and
// "/SAReply=C" modes while the main dialog stays hidden.
#pragma once

#include <string>

#include "ui/dialog_sk.h"

namespace tiqora {

class CpopUp : public ui::CDialogSK {
public:
    explicit CpopUp(std::wstring commandLineTail);

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    std::wstring tail_;
};

}  // namespace tiqora
