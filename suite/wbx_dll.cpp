// WBX.DLL stand-in: the suite's transport library. Each SendWebdata* export
// POSTs a body over plain HTTP and copies the response body into the
// caller's buffer; SendLocalData hands a file to the LAN server. See
// suite/README.md for the arguments, results, limits and time-outs.
#include <windows.h>

#include <string>

#include "http_post.h"
#include "lan_file_delivery.h"
#include "suite_config.h"
#include "wbx_rules.h"

namespace {


constexpr int kAnswered = 0;
constexpr int kBadArguments = -1;
constexpr int kNoAnswer = -2;


int send(const wbx::Endpoint& endpoint, const char* path, const char* body, const char* agent, int mode,
         int attempts, int connectSeconds, char* reply, size_t capacity) {
    if (reply) wbx::copyReply("", reply, capacity);
    if (!path || !body || !reply || endpoint.host.empty()) return kBadArguments;
    wbx::PostOptions options;
    options.agent = agent ? agent : "";
    options.accept = (mode & 1) ? "application/json" : "";
    options.attempts = wbx::clampAttempts(attempts);
    options.connectSeconds = wbx::clampConnectSeconds(connectSeconds);
    const std::string content = body;
    const wbx::HttpAnswer answer =
        wbx::postBody(endpoint, path, content, std::string(wbx::contentTypeFor(content)), options);
    if (!answer.answered) return kNoAnswer;
    wbx::copyReply(answer.body, reply, capacity);
    return kAnswered;
}

wbx::Endpoint endpointOf(const char* host) {
    if (!host) return {};
    return wbx::endpointFor(host, wbx::configuredLanServer());
}

}  // namespace

extern "C" {

__declspec(dllexport) int SendWebdata2(const char* host, const char* path, const char* body, const char* agent,
                                       char* reply) {
    return send(endpointOf(host), path, body, agent, 0, 1, 3, reply, wbx::kSendWebdata2Capacity);
}

__declspec(dllexport) int SendWebdata3(const char* host, const char* path, const char* body, const char* agent,
                                       int mode, int attempts, int connectSeconds, char* reply) {
    return send(endpointOf(host), path, body, agent, mode, attempts, connectSeconds, reply,
                wbx::sendWebdata3Capacity(path ? path : ""));
}

__declspec(dllexport) int SendWebdata4(const char* host, const char* path, const char* body, const char* agent,
                                       int mode, int attempts, int connectSeconds, int port, char* reply) {
    wbx::Endpoint endpoint{host ? host : "", port};
    if (port < 1 || port > 65535) endpoint = endpointOf(host);
    return send(endpoint, path, body, agent, mode, attempts, connectSeconds, reply, wbx::kSendWebdata4Capacity);
}

// 0 delivered, 1 no readable file, 2 no LAN server or no answer, 3 refused.
__declspec(dllexport) int SendLocalData(const char* filePath, const char* remoteName) {
    const std::string name = (remoteName && *remoteName) ? remoteName : wbx::baseName(filePath ? filePath : "");
    const wbx::FileDelivery result = wbx::deliverFileToLanServer(filePath, name, "WBX-LocalData");
    // SendLocalData knows no queue: a queued file counts as refused.
    return static_cast<int>(result == wbx::FileDelivery::Queued ? wbx::FileDelivery::Refused : result);
}
}
