#include "core/config/suite_folder.h"

#include <gtest/gtest.h>

namespace tiqora {
namespace {

TEST(SuiteFolder, OnlyAnAbsoluteFolderOnADriveIsLoadedFrom) {
    struct Case {
        const char* folder;
        bool local;
    } cases[] = {
        {"C:\\Program Files\\Kelvane\\Orvantis\\QXSCAN", true},
        {"d:/suite/QX", true},
        {"C:\\", true},
        {"C:\\QX\\", true},
        {"C:\\Programme \xC3\x9C" "bersicht\\QX", true},  // UTF-8 beyond ASCII
        {"\\\\server\\share\\QX", false},                   // UNC
        {"\\\\127.0.0.1\\share\\QX", false},
        {"//server/share/QX", false},
        {"\\\\?\\C:\\Program Files\\QX", false},  // device paths
        {"\\\\.\\C:\\QX", false},
        {"\\\\?\\UNC\\server\\share", false},
        {"QXSCAN", false},  // relative
        {"..\\QXSCAN", false},
        {".\\QX", false},
        {"\\QX", false},    // the current drive's root
        {"C:QX", false},    // drive-relative
        {"C:", false},
        {"N/A", false},     // the setting's stand-in when missing
        {"", false},
        {"1:\\QX", false},
        {"C:\\QX:stream", false},
        {"C:\\QX\r\nforged line", false},
        {"C:\\QX\tX", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isLocalAbsoluteFolder(c.folder), c.local) << c.folder;
}

}  // namespace
}  // namespace tiqora
