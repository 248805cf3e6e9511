#include "win/log_reset.h"

#include <windows.h>

#include <cstdint>

#include "core/log/log_size.h"

namespace tiqora {

bool deleteLogIfOversized(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &info)) return false;
    const auto size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return logIsOversized(size) && DeleteFileW(path);
}

}  // namespace tiqora
