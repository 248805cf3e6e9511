// The names of a screenshot of the IT ticket form, free of Windows headers so
// they are tested natively: the file the capture writes, the name the LAN
// server stores it under, and the lines the upload leaves in the IT ticket
// log. Text is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiqora {

// The folder every screenshot is written to; the LAN delivery strips exactly
// this prefix (upper-case drive letter) from the path.
inline constexpr char kScreenshotFolder[] = "C:\\qx\\";

// The capture copies the path into a buffer of this many wide characters,
// terminator included: a longer path cannot be saved.
inline constexpr std::size_t kScreenshotPathChars = 260;

// The remote name buffer of the LAN delivery, in bytes, terminator included.
inline constexpr std::size_t kRemoteNameBytes = 300;

// "C:\qx\%s_%4d-%.2d-%.2d_%2d-%2d-%2d_ITTKT.jpg" with the licence code and the
// local time: the year padded with blanks to 4 places, month and day with
// zeros to 2 digits, hour, minute and second with blanks (not zeros) to 2
// places, e.g. "C:\qx\L_2024-03-07_ 9- 5- 3_ITTKT.jpg".
std::string screenshotPath(std::string_view licenceCode, int year, int month, int day, int hour, int minute,
                           int second);

// True when `path` is a screenshot path the capture can write: it starts with
// kScreenshotFolder, and what follows is one plain file name: not empty, no
// control character and none of \ / : * ? " < > | (a licence code holding
// one would otherwise name another folder, an alternate stream or nothing).
bool isWritableScreenshotPath(std::string_view path);

// The name the LAN server stores the screenshot under: every ".jpg" replaced
// by ".SCR", then every "C:\qx\" removed (both case-sensitive), cut to
// kRemoteNameBytes - 1 bytes without splitting a UTF-8 character.
std::string screenshotRemoteName(std::string_view path);

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 character.
std::string cutUtf8(std::string_view text, std::size_t maxBytes);

// The upload's log lines, formed in a 260-byte buffer: "File Upload success...
// <body>" and "file upload to web failed handle failed, Error=<body>", cut to
// 259 bytes.
std::string uploadSuccessLine(std::string_view responseBody);
std::string uploadFailureLine(std::string_view responseBody);

}  // namespace tiqora
