// Which folder a setting may name for the program to load a library from.
// QXPath.ini names the suite folder whose WBX.DLL the support request loads;
// only a folder given by its absolute path on a drive of this machine is
// used ("C:\Program Files\Kelvane\Orvantis\QXSCAN"). A UNC path
// ("\\server\share\QX") would load code over the network, a relative or
// drive-relative one ("QXSCAN", "C:QX") from whatever the current folder
// happens to be, and a device path ("\\?\C:\...", "\\.\...") passes round the
// checks Windows makes of a path; none of them, nor the "N/A" that stands for
// a missing setting, is ever loaded from.
#pragma once

#include <string_view>

namespace tiqora {

// True for a drive letter, ":", a backslash or slash, and a rest without
// another ":" (an alternate data stream, not a folder) or a control
// character. `folder` is UTF-8.
bool isLocalAbsoluteFolder(std::string_view folder);

}  // namespace tiqora
