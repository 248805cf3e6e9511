// Photographing the primary display into a JPEG file for the IT ticket form.
//
// GDI+ is loaded (LoadLibrary, flat API by GetProcAddress) only when a
// picture is saved and started and shut down around each save, so the
// program's start-up never pays for it.
#pragma once

#include <windows.h>

#include <string>

namespace tiqora {

// Writes `bitmap` to `path` with the GDI+ encoder whose extension list holds
// the path's extension (case ignored; the first encoder GDI+ lists wins).
// S_OK when written; E_FAIL when GDI+ cannot be loaded or started, no encoder
// matches or the file cannot be written; E_OUTOFMEMORY when the encoder list
// does not fit in memory.
HRESULT saveBitmapAsJpeg(HBITMAP bitmap, const std::wstring& path);

// Copies the whole primary display (physical pixels, layered windows
// included) into a bitmap and saves it as `path`; S_OK when the file was
// written. A path of kScreenshotPathChars characters or more is not saved.
HRESULT captureScreenTo(const std::wstring& path);

}  // namespace tiqora
