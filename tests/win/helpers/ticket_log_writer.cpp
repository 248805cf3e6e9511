// Appends lines to the IT ticket log as a separate process, so tests can run
// several writers at once:  ticket_log_writer.exe <tag> <count>
// Line i reads "<tag> line <i> <padding>" so a torn or merged line shows.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "win/ticket_log.h"
#include "win/wide_text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::string tag = tiqora::toUtf8(argv[1]);
    const int count = std::wcstol(argv[2], nullptr, 10);
    const std::string padding(60, static_cast<char>('a' + (tag.empty() ? 0 : tag[0] % 26)));
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        if (tiqora::writeTicketLog(tag + " line " + std::to_string(i) + " " + padding) != 1) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
