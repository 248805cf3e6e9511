// The HTTP requests the program sends itself, with libcurl (built with
// Schannel): the screenshot's multipart upload and the text posts to a
// service whose [Hosts] key says https. Plain HTTP or TLS as the address
// says; over TLS nothing is sent before the server's certificate passes
// checkServerCertificate, no redirect is followed and no proxy is used.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/net/service_address.h"
#include "win/server_certificate.h"
#include "win/system_libraries.h"

namespace tiqora {

// One part of the form: a text value, or the bytes of a file.
struct UploadPart {
    std::string name;
    std::string value;  // the text, or the file's path (system code page)
    bool isFile = false;
};

struct HttpLimits {
    long connectSeconds = 10;             // the connection (and the TLS handshake) must be made by then
    unsigned long long stallMilliseconds = 30000;  // a transfer that does not move for this long is given up
    // The whole request, from the connection to the answer's last byte, is
    // given up after this long, however slowly its bytes keep moving.
    long totalMilliseconds = 60000;
};

struct HttpResult {
    bool setUp = true;  // false when no transfer could be set up
    // A system library the request needs that did not load (setUp is then
    // false: nothing was tried).
    std::optional<LibraryLoadFailure> missingLibrary;
    long status = 0;    // the HTTP status; 0 when no answer arrived
    std::string body;   // the answer's body
    // Why no answer arrived: the certificate check's refusal, or the
    // transfer's own error text.
    std::optional<CertificateCheck> refusedCertificate;
    std::string transferError;
    // Where an answer that redirects (a 3xx status with a Location) points;
    // the redirect is never followed.
    std::string redirect;

    // An HTTP answer arrived, whatever its status.
    bool answered() const { return setUp && !refusedCertificate && transferError.empty() && status != 0; }
};

// Posts `parts` as multipart/form-data (each text part typed
// "multipart/form-data", as the web console expects) to `path` at `server`.
HttpResult uploadForm(const ServiceAddress& server, const std::string& path, const std::vector<UploadPart>& parts,
                      const HttpLimits& limits = {});

// The headers of a text post besides the ones libcurl writes (host, length).
struct TextPostHeaders {
    std::string agent;        // User-Agent
    std::string contentType;  // Content-Type
    std::string accept;       // Accept; none at all when empty
};

// Posts `body` to `path` at `server`, with exactly the headers given (no
// "Expect: 100-continue").
HttpResult postText(const ServiceAddress& server, const std::string& path, const std::string& body,
                    const TextPostHeaders& headers, const HttpLimits& limits);

}  // namespace tiqora
