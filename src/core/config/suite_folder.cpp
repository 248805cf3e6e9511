#include "core/config/suite_folder.h"

namespace tiqora {

bool isLocalAbsoluteFolder(std::string_view folder) {
    if (folder.size() < 3) return false;
    const char drive = folder[0];
    const bool driveLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    if (!driveLetter || folder[1] != ':' || (folder[2] != '\\' && folder[2] != '/')) return false;
    for (const char c : folder.substr(3)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ':' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace tiqora
