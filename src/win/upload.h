// An HTTP multipart upload with libcurl (built with Schannel): plain HTTP or
// TLS as the address says, and over TLS nothing is sent before the server's
// certificate passes checkServerCertificate.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/it_ticket/web_console_address.h"
#include "win/server_certificate.h"
#include "win/system_libraries.h"

namespace tiqora {

// One part of the form: a text value, or the bytes of a file.
struct UploadPart {
    std::string name;
    std::string value;  // the text, or the file's path (system code page)
    bool isFile = false;
};

struct UploadLimits {
    long connectSeconds = 10;             // the connection must be made by then
    unsigned long long stallMilliseconds = 30000;  // a transfer that does not move for this long is given up
    // The whole upload, from the connection to the answer's last byte, is
    // given up after this long, however slowly its bytes keep moving.
    long totalMilliseconds = 60000;
};

struct UploadResult {
    bool setUp = true;  // false when no transfer could be set up
    // A system library the upload needs that did not load (setUp is then
    // false: nothing was tried).
    std::optional<LibraryLoadFailure> missingLibrary;
    long status = 0;    // the HTTP status; 0 when no answer arrived
    std::string body;   // the answer's body
    // Why no answer arrived: the certificate check's refusal, or the
    // transfer's own error text.
    std::optional<CertificateCheck> refusedCertificate;
    std::string transferError;
};

// Posts `parts` as multipart/form-data (each text part typed
// "multipart/form-data", as the web console expects) to `path` at `server`'s
// origin. Only the server's scheme is allowed, so no redirect or proxy turns
// an https upload into plain HTTP; over TLS the peer and the host are
// verified and a revocation status that cannot be learned is let pass.
UploadResult uploadForm(const WebConsoleAddress& server, const std::string& path, const std::vector<UploadPart>& parts,
                        const UploadLimits& limits = {});

}  // namespace tiqora
