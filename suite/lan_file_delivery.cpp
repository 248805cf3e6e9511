#include "lan_file_delivery.h"

#include "http_post.h"
#include "suite_config.h"

namespace wbx {

FileDelivery deliverFileToLanServer(const char* filePath, const std::string& remoteName, const std::string& agent) {
    if (!fileReadable(filePath)) return FileDelivery::FileMissing;
    const auto server = configuredLanServer();
    if (!server) return FileDelivery::NoServer;
    PostOptions options;
    options.agent = agent;
    const HttpAnswer answer = postMultipart(*server, kFileReceivePath,
                                            {{"name", remoteName, "", ""}, {"file", "", filePath, remoteName}}, options);
    if (!answer.answered) return FileDelivery::NoServer;
    if (answer.status == 200) return FileDelivery::Delivered;
    return answer.status == 202 ? FileDelivery::Queued : FileDelivery::Refused;
}

}  // namespace wbx
