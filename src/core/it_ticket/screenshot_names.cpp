#include "core/it_ticket/screenshot_names.h"

#include <cstdio>

namespace tiqora {

namespace {

constexpr std::size_t kUploadLogLineBytes = 260;

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::string screenshotPath(std::string_view licenceCode, int year, int month, int day, int hour, int minute,
                           int second) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "_%4d-%.2d-%.2d_%2d-%2d-%2d_ITTKT.jpg", year, month, day, hour, minute,
                  second);
    return std::string(kScreenshotFolder) + std::string(licenceCode) + stamp;
}

bool isWritableScreenshotPath(std::string_view path) {
    const std::string_view folder = kScreenshotFolder;
    if (path.substr(0, folder.size()) != folder) return false;
    const std::string_view name = path.substr(folder.size());
    if (name.empty()) return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return true;
}

std::string cutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t end = maxBytes;
    // Back off continuation bytes so the cut falls before a character's lead byte.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

std::string screenshotRemoteName(std::string_view path) {
    std::string name(path);
    replaceAll(name, ".jpg", ".SCR");
    replaceAll(name, kScreenshotFolder, "");
    return cutUtf8(name, kRemoteNameBytes - 1);
}

std::string uploadSuccessLine(std::string_view responseBody) {
    return cutUtf8(std::string("File Upload success... ") + std::string(responseBody), kUploadLogLineBytes - 1);
}

std::string uploadFailureLine(std::string_view responseBody) {
    return cutUtf8(std::string("file upload to web failed handle failed, Error=") + std::string(responseBody),
                   kUploadLogLineBytes - 1);
}

}  // namespace tiqora
