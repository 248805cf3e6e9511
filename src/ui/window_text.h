// The text of a window or control, whatever its length.
#pragma once

#include <windows.h>

#include <string>

namespace tiqora::ui {

std::wstring windowText(HWND window);

}  // namespace tiqora::ui
