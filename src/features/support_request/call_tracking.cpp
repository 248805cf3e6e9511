#include "features/support_request/call_tracking.h"

#include <vector>

#include "core/config/suite_folder.h"
#include "core/support_request/request_history.h"
#include "win/config_sources.h"
#include "win/process_values.h"
#include "win/service_post.h"
#include "win/suite_library.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr ServiceCall kCallTrackingCall{kCallTrackingKey, kCallTrackingPath, "Tiqora", false, kCallTrackingReplyBytes};

// "7/12/2026 05:26": the date of a history record, local time (the same
// format as the stamp of the IT ticket log).
std::string submissionDate() { return formatLogTimestamp(currentLogTime()); }

void tell(HWND form, const std::wstring& text, const std::wstring& caption) {
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MessageBoxW(form, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace

std::string sendCallTracking(const std::wstring& suiteFolder, const std::wstring& hostSetting, const std::string& body) {
    const auto read = serviceAddressOf(toAnsi(hostSetting));
    if (const auto* fault = std::get_if<AddressFault>(&read)) {
        writeTicketLog(refusedAddressLine(kCallTrackingKey, *fault));
        return {};
    }
    const ServiceAddress& address = std::get<ServiceAddress>(read);
    if (address.scheme == WebScheme::Https) {
        const TlsReply reply = postOverTls(address, kCallTrackingCall, body);
        if (!reply.answered) writeTicketLog(tlsFailureLine(kCallTrackingCall, address, reply));
        return reply.received;
    }

    if (!isLocalAbsoluteFolder(toUtf8(suiteFolder))) {
        // The value comes from an ini file, whose values hold no line break:
        // it stays within its log line.
        writeTicketLog("QXPath.ini names no absolute folder on this machine, the support request loads no WBX.DLL: " +
                       toAnsi(suiteFolder));
        return {};
    }
    SuiteModule library = SuiteModule::load(suiteFolder + L"\\WBX.DLL");
    const auto send = library.find<SendWebdata2Fn>("SendWebdata2");
    if (!send) return {};
    std::vector<char> reply(kCallTrackingReplyBytes, '\0');
    send(address.hostAndPort.c_str(), kCallTrackingPath, body.c_str(), "Tiqora", reply.data());
    return writtenReply(reply);
}

void appendRequestHistory(const std::wstring& historyFile, const std::wstring& record) {
    // "CNT" read as the history reads it (a damaged, huge count stops at the
    // integer limit instead of wrapping).
    const ProfileSection<wchar_t> section(readProfileSection(historyFile, L"Tiqora"));
    const std::optional<int> next = nextHistoryKey(section.integer(L"CNT"));
    if (!next) return;  // no key can follow a count at the limit
    const std::wstring key = std::to_wstring(*next);
    // The record first: a process stopped between the two writes leaves an
    // uncounted record, never a counted key without one.
    if (!WritePrivateProfileStringW(L"Tiqora", key.c_str(), record.c_str(), historyFile.c_str())) return;
    WritePrivateProfileStringW(L"Tiqora", L"CNT", key.c_str(), historyFile.c_str());
}

void submitCallTracking(HWND form, const CallTrackingRequest& request, const CallTrackingSetup& setup) {
    const std::string body = callTrackingBody(request);
    const std::string replyBytes = sendCallTracking(setup.suiteFolder, setup.host, body);
    const std::wstring reply = fromAnsi(replyBytes);
    const std::wstring title = applicationTitle();

    switch (judgeCallTrackingReply(toUtf8(reply))) {
    case ReplyOutcome::ErrorPage:
        tell(form, L" Error while sending message\n Please try after some time...", title);
        return;
    case ReplyOutcome::NoConnection:
        tell(form, L"Internet Connection is not available....\nPlease try after some time", title);
        return;
    case ReplyOutcome::Accepted: {
        const std::string record = historyRecord(submissionDate(), toUtf8(reply),
                                                 problemText(request.issueTypeText, request.description), request.mobile);
        appendRequestHistory(setup.historyFile, fromUtf8(record));
        break;
    }
    case ReplyOutcome::AcceptedUnrecorded:
        break;
    }
    tell(form,
         L"Thank You.\nYour Request has been submitted.\nCallTrack ID =  " + reply +
             L"\nVEXO Help Desk Team will contact you soon.\nTiming: 9.30am to 9.30pm.",
         L"Tiqora Desk");
}

}  // namespace tiqora
