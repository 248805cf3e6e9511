#include "harness/ticket_files.h"

#include <windows.h>

#include <algorithm>

#include "harness/machine.h"
#include "win/wide_text.h"

namespace tiqora::test {

std::vector<std::string> filesIn(const std::wstring& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(toUtf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ticketLogLine(const std::string& message) {
    std::string line = "  :  ";
    for (char c : message + "\n") line += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return line;
}

size_t ticketLogLineCount(const std::string& message) {
    const std::string log = SuiteMachine::ticketLog();
    const std::string line = ticketLogLine(message);
    size_t count = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + line.size())) ++count;
    return count;
}

bool ticketLogHasLinesInOrder(const std::vector<std::string>& messages) {
    const std::string log = SuiteMachine::ticketLog();
    size_t at = 0;
    for (const std::string& message : messages) {
        at = log.find(ticketLogLine(message), at);
        if (at == std::string::npos) return false;
        at += ticketLogLine(message).size();
    }
    return true;
}

}  // namespace tiqora::test
