#include "core/it_ticket/screenshot_names.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

struct NameCase {
    const char* what;
    const char* licence;
    int year, month, day, hour, minute, second;
    const char* path;
    const char* remoteName;
};

TEST(ScreenshotNames, PathAndRemoteNameForATableOfTimes) {
    const NameCase cases[] = {
        {"small hour, minute, second: blanks; month and day: zeros", "L", 2024, 3, 7, 9, 5, 3,
         "C:\\qx\\L_2024-03-07_ 9- 5- 3_ITTKT.jpg", "L_2024-03-07_ 9- 5- 3_ITTKT.SCR"},
        {"the last second of a day", "TQ4711-2026-ORV", 2026, 12, 10, 23, 59, 59,
         "C:\\qx\\TQ4711-2026-ORV_2026-12-10_23-59-59_ITTKT.jpg", "TQ4711-2026-ORV_2026-12-10_23-59-59_ITTKT.SCR"},
        {"1 January at midnight", "L", 2025, 1, 1, 0, 0, 0, "C:\\qx\\L_2025-01-01_ 0- 0- 0_ITTKT.jpg",
         "L_2025-01-01_ 0- 0- 0_ITTKT.SCR"},
        {"an empty licence code: the name starts with _", "", 2024, 3, 7, 9, 5, 3,
         "C:\\qx\\_2024-03-07_ 9- 5- 3_ITTKT.jpg", "_2024-03-07_ 9- 5- 3_ITTKT.SCR"},
        {"a year below 1000 is padded with blanks", "L", 999, 10, 31, 12, 0, 9,
         "C:\\qx\\L_ 999-10-31_12- 0- 9_ITTKT.jpg", "L_ 999-10-31_12- 0- 9_ITTKT.SCR"},
        {"every .jpg goes, not only the last", "a.jpg", 2024, 3, 7, 9, 5, 3,
         "C:\\qx\\a.jpg_2024-03-07_ 9- 5- 3_ITTKT.jpg", "a.SCR_2024-03-07_ 9- 5- 3_ITTKT.SCR"},
        {"text in another script stays whole", "\xD0\x9B\xD0\x98", 2024, 3, 7, 9, 5, 3,
         "C:\\qx\\\xD0\x9B\xD0\x98_2024-03-07_ 9- 5- 3_ITTKT.jpg", "\xD0\x9B\xD0\x98_2024-03-07_ 9- 5- 3_ITTKT.SCR"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = screenshotPath(c.licence, c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(path, c.path);
        EXPECT_EQ(screenshotRemoteName(path), c.remoteName);
    }
}

TEST(ScreenshotNames, RemoteNameRewritesOnlyTheExactFolderAndExtension) {
    const struct {
        const char* path;
        const char* remoteName;
    } cases[] = {
        {"c:\\qx\\L_1.jpg", "c:\\qx\\L_1.SCR"},   // a lower-case drive letter is no match
        {"C:\\qx\\L_1.JPG", "L_1.JPG"},            // nor an upper-case extension
        {"C:\\qx\\C:\\qx\\L.jpg", "L.SCR"},        // every occurrence goes
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(screenshotRemoteName(c.path), c.remoteName) << c.path;
}

TEST(ScreenshotNames, RemoteNameNeverPassesItsBuffer) {
    const std::string longPath = "C:\\qx\\" + std::string(400, 'x') + ".jpg";
    EXPECT_EQ(screenshotRemoteName(longPath), std::string(kRemoteNameBytes - 1, 'x'));
    // A two-byte character that would straddle the limit is left out whole.
    const std::string wide = "C:\\qx\\" + std::string(kRemoteNameBytes - 2, 'x') + "\xC3\xA9.jpg";
    EXPECT_EQ(screenshotRemoteName(wide), std::string(kRemoteNameBytes - 2, 'x'));
}

TEST(ScreenshotNames, WritablePathsHoldOnePlainFileName) {
    const struct {
        const char* licence;
        bool writable;
    } cases[] = {
        {"TQ4711-2026-ORV", true}, {"", true},     {"with blank", true}, {"\xD0\x9B\xD0\x98", true},
        {"A/B", false},            {"A\\B", false}, {"A:B", false},       {"A*B", false},
        {"A?B", false},            {"A\"B", false}, {"A<B", false},       {"A>B", false},
        {"A|B", false},            {"A\tB", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isWritableScreenshotPath(screenshotPath(c.licence, 2024, 3, 7, 9, 5, 3)), c.writable) << c.licence;
    EXPECT_FALSE(isWritableScreenshotPath("D:\\qx\\L.jpg"));
    EXPECT_FALSE(isWritableScreenshotPath("C:\\qx\\"));
}

TEST(ScreenshotNames, UploadLogLinesAreCutToTheirBuffer) {
    EXPECT_EQ(uploadSuccessLine("{\"message\":\"Image saved\"}"), "File Upload success... {\"message\":\"Image saved\"}");
    EXPECT_EQ(uploadFailureLine(""), "file upload to web failed handle failed, Error=");
    const std::string big(102400, 'a');
    EXPECT_EQ(uploadSuccessLine(big).size(), 259u);
    EXPECT_EQ(uploadFailureLine(big), "file upload to web failed handle failed, Error=" + std::string(259 - 47, 'a'));
}

}  // namespace
}  // namespace tiqora
