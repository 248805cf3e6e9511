// The HTTP side of the suite stand-ins: one POST over plain HTTP/1.1, bounded
// in time, with the response body collected whole. Written on Winsock alone,
// so loading the suite's libraries brings in no more than the socket layer.
#pragma once

#include <string>
#include <vector>

#include "wbx_rules.h"

namespace wbx {

// Every attempt is bounded: the connection (name lookup included) must be
// made within `connectSeconds` and the whole exchange must end within
// kTotalSeconds.
inline constexpr long kTotalSeconds = 8;

struct HttpAnswer {
    bool answered = false;  // an HTTP response arrived (any status)
    long status = 0;
    std::string body;
};

struct FormPart {
    std::string name;
    std::string value;     // text part, when `filePath` is empty
    std::string filePath;  // file part: the file's bytes, sent as `fileName`
    std::string fileName;
};

struct PostOptions {
    std::string agent;
    std::string accept;  // optional Accept header
    long connectSeconds = 3;
    int attempts = 1;  // tries while no answer arrives
};

HttpAnswer postBody(const Endpoint& endpoint, const std::string& path, const std::string& body,
                    const std::string& contentType, const PostOptions& options);

// multipart/form-data; a file part whose file cannot be read gives no answer.
HttpAnswer postMultipart(const Endpoint& endpoint, const std::string& path, const std::vector<FormPart>& parts,
                         const PostOptions& options);

}  // namespace wbx
