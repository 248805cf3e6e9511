#include "features/feedback/feedback_mail.h"

#include <vector>

#include "core/feedback/feedback_body.h"
#include "win/config_sources.h"
#include "win/feedback_log.h"
#include "win/service_post.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr ServiceCall kFeedbackMailCall{kHelpDeskMailKey, kFeedbackMailPath, kFeedbackAgent,
                                        (kPlainAnswerCall.mode & 1) != 0, kHelpDeskMailReplyBytes};

}  // namespace

std::string sendFeedbackMail(const TransportLibrary& transport, const std::wstring& hostSetting,
                             const std::string& body) {
    const auto read = serviceAddressOf(toAnsi(hostSetting));
    if (const auto* fault = std::get_if<AddressFault>(&read)) {
        writeFeedbackLog(refusedAddressLine(kHelpDeskMailKey, *fault));
        return {};
    }
    const ServiceAddress& address = std::get<ServiceAddress>(read);
    if (address.scheme == WebScheme::Https) {
        const TlsReply reply = postOverTls(address, kFeedbackMailCall, body);
        if (!reply.answered) writeFeedbackLog(tlsFailureLine(kFeedbackMailCall, address, reply));
        return reply.received;
    }
    std::vector<char> reply(kHelpDeskMailReplyBytes, '\0');
    if (transport.sendWebdata3)
        transport.sendWebdata3(address.hostAndPort.c_str(), kFeedbackMailPath, body.c_str(), kFeedbackAgent,
                               kPlainAnswerCall.mode, kPlainAnswerCall.attempts, kPlainAnswerCall.connectSeconds,
                               reply.data());
    return writtenReply(reply);
}

}  // namespace tiqora
