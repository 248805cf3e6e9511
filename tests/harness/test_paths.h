// Where the test binaries find what they test: every Windows binary of the
// build lands in one folder beside them.
#pragma once

#include <string>

namespace tiqora::test {

// Folder of the running test binary, without a trailing backslash.
std::wstring buildBinFolder();
// A file of that folder.
std::wstring buildFile(const std::wstring& name);
// A file of the machine's temporary folder (the user's, as GetTempPathW says).
std::wstring tempFile(const std::wstring& name);

// Reads or writes a whole file as bytes; an empty optional-like flag is
// reported through `ok` where given.
std::string readFileBytes(const std::wstring& path, bool* ok = nullptr);
void writeFileBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);

}  // namespace tiqora::test
