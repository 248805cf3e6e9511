// Handing a file to the LAN server: a multipart POST to its file receiver,
// with the name the server stores the file under.
#pragma once

#include <string>

namespace wbx {

// The values are SendLocalData's results.
enum class FileDelivery {
    Delivered = 0,    // the server answered 200
    FileMissing = 1,  // no readable file at the path
    NoServer = 2,     // no LAN server configured, or no answer in time
    Refused = 3,      // the server answered with another status
    Queued = 4,       // the server answered 202: it queued the file for later
};

// Path on the LAN server that receives files.
inline constexpr char kFileReceivePath[] = "/DPXLAN/FileReceive";

FileDelivery deliverFileToLanServer(const char* filePath, const std::string& remoteName, const std::string& agent);

}  // namespace wbx
