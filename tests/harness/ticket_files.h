// What the IT ticket features leave on the machine, as tests read it: the
// files of a folder and the lines of the IT ticket log.
#pragma once

#include <string>
#include <vector>

namespace tiqora::test {

// Names of the plain files of a folder (hidden ones too), sorted; empty when
// the folder is missing.
std::vector<std::string> filesIn(const std::wstring& folder);

// A message as the IT ticket log stores it after its time stamp: in text
// mode, every line feed (its own and the one added) written as CR LF.
std::string ticketLogLine(const std::string& message);
// How often a message stands as a whole line in the IT ticket log.
size_t ticketLogLineCount(const std::string& message);
// True when the messages stand as lines of the IT ticket log in this order.
bool ticketLogHasLinesInOrder(const std::vector<std::string>& messages);

}  // namespace tiqora::test
