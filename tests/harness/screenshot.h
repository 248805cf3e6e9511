// Pictures of windows of another process, saved as PNG files: the demo tour
// takes one of every dialog, and a test can keep one of a dialog it drives.
#pragma once

#include <windows.h>

#include <string>

namespace tiqora::test {

// Captures `window` (frame included, at its current size) once it has
// finished drawing, and writes it to `path` as a PNG file. Waits at most a
// few seconds for the window to hold still. False when the window cannot be
// captured or the file cannot be written.
bool saveWindowPng(HWND window, const std::wstring& path);

}  // namespace tiqora::test
