// The HTTP side of the suite stand-ins: one POST, bounded in time, with the
// response body collected whole.
#pragma once

#include <string>
#include <vector>

namespace wbx {

// Every request is bounded: the connection must be made within
// `connectSeconds` and the whole exchange must end within kTotalSeconds.
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

HttpAnswer postBody(const std::string& url, const std::string& body, const std::string& contentType,
                    const PostOptions& options);

HttpAnswer postMultipart(const std::string& url, const std::vector<FormPart>& parts, const PostOptions& options);

}  // namespace wbx
