// The local vendor services (tests/fakes/vendor_services.py) as a test under
// Wine sees them: their ports, the scenario they answer from, and the journal
// of the requests they received.
//
// tools/vendor-services.sh starts the services and exports
// TIQORA_VENDOR_DIR (Linux path of their state folder, reached here through
// Wine's Z: drive), TIQORA_VENDOR_PORT, TIQORA_LAN_PORT and the seven TLS
// ports. Every function throws std::runtime_error when these are missing.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tiqora::test {

// The vendor's services and the LAN server, plain HTTP only.
int vendorPort();
int lanPort();
// The vendor's services over TLS only (a plain HTTP request fails the
// handshake and reaches no journal), with a certificate from the test
// authority the test run trusts, made out for localhost; the same with one
// for another host name; and with one for localhost from an authority the
// machine does not trust.
int tlsPort();
int tlsElsewherePort();
int tlsStrangerPort();
// The same with a certificate for localhost from the trusted test authority
// that expired 2 days ago; one that becomes valid in 2 days; one for client
// authentication only (no server use); and one signed by its own key, from
// no authority.
int tlsExpiredPort();
int tlsNotYetValidPort();
int tlsClientOnlyPort();
int tlsSelfSignedPort();

// Scenario of the services for the requests from now on ("success",
// "html-error", "no-data", "error-500", "slow", "big-reply",
// "redirect-to-http" (a POST over TLS: 302 to the same path on vendorPort()),
// "lan-status-quoted", "lan-status-last", "lan-status-absent"; for the two
// ticket services only, the others answering as success: "ticket-failed",
// "data-last", "long-id", "null-id", "phrase-case", "unsafe-id",
// "empty-reply", "silence", "phrase-twice"; for the LAN server's file
// receiver only: "intrapol-refused", "intrapol-queued", "file-refused"; for
// the screenshot upload only: "shot-201", "shot-204", "shot-500",
// "shot-silence", "shot-stall"). The docstring of
// tests/fakes/vendor_services.py gives the reply of each.
void setVendorScenario(const std::string& word);

// Forgets every request received so far.
void clearVendorJournal();

// One request as the services received it. Texts are the journal's UTF-8;
// bodies, form values and part contents are the exact bytes.
struct VendorRequest {
    std::string method, path;  // path with its query, as received
    int port = 0;              // the local port it arrived on
    bool overTls = false;      // it came over TLS
    std::map<std::string, std::string> headers;  // lower-case names
    std::string contentType;                     // main type, e.g. "application/json"
    std::string body;
    std::vector<std::pair<std::string, std::string>> form;  // url-encoded body, decoded
    struct Part {
        std::string name, filename, contentType, data;
    };
    std::vector<Part> parts;  // multipart body

    // Value of a header (any case of `name`); empty when absent.
    std::string header(const std::string& name) const;
};

// Checks (with GoogleTest's non-fatal expectations) that a request the
// program sent over TLS is the one the suite's library sent in the clear:
// the same method, path and the headers the library writes (agent, content
// type, accept, expect). Bodies are the caller's to compare (a ticket's
// submission time differs from one run to the next).
void expectSameRequestAsTheLibrarys(const VendorRequest& overTls, const VendorRequest& throughLibrary);

// Every journal entry since the last clear, in arrival order.
std::vector<VendorRequest> vendorRequests();

// The request at `index` of vendorRequests(), once it has arrived; throws
// DriverError when it does not arrive within `timeoutMs`.
VendorRequest waitForVendorRequest(size_t index, DWORD timeoutMs = 10000);

}  // namespace tiqora::test
