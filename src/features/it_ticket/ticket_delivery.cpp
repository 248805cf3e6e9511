#include "features/it_ticket/ticket_delivery.h"

#include <windows.h>

#include <vector>

#include "core/it_ticket/lan_address.h"
#include "core/it_ticket/ticket_reply.h"
#include "core/it_ticket/ticket_rules.h"
#include "core/net/service_address.h"
#include "core/text/ascii_case.h"
#include "features/it_ticket/record_files.h"
#include "win/config_sources.h"
#include "win/service_post.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr char kCreateTicketPath[] = "/api/it-ticket/create-ticket";
constexpr ServiceCall kWebTicketCall{kWebConsoleKey, kCreateTicketPath, kWebTicketAgent,
                                     (kWebConsoleCall.mode & 1) != 0, kWebConsoleTicketReplyBytes};

std::string currentSubmitTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return submitTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

// The members both bodies carry, from the form and the machine.
template <typename Fields>
void fillCommonFields(Fields& fields, const TicketSender& sender, const TicketInput& ticket) {
    fields.submitTime = currentSubmitTime();
    fields.licenceCode = sender.licenceCode;
    fields.ip = ticket.machineIp;
    fields.computerName = ticket.hostName;
    fields.userName = sender.userName;
    fields.issueTitle = ticket.issueTitle;
    fields.description = ticket.description;
    fields.priority = ticket.priorityCode;
}


// Makes sure the transport library is loaded (start-up may have found none)
// and SendWebdata4 resolved.
void loadTransport(TicketSender& sender) {
    TransportLibrary& transport = sender.values.startupTransport;
    if (transport.loaded()) return;
    transport = loadTransportLibrary(sender.values.transportLibraryPath);
    sender.sendWebdata4 = transport.module.find<SendWebdata4Fn>("SendWebdata4");
    writeTicketLog("WBX is Load ");
}

// The ticket's id and GUID under `section` of the IT ticket folder's
// Tiqora.ini, when both can stand there.
void listTicket(const ProcessValues& values, const wchar_t* section, const TicketReceipt& receipt) {
    if (!receipt.hasData || receipt.ticketId.empty()) return;  // an empty key is no record
    if (!isSafeRecordText(receipt.ticketId) || !isSafeRecordText(receipt.ticketGuid)) {
        writeTicketLog("Ticket ID or GUID not usable as a record, not written to Tiqora.ini: " + receipt.ticketId);
        return;
    }
    if (!writeIniStringExactly(values.folders.ticketIni, section, fromUtf8(receipt.ticketId), fromUtf8(receipt.ticketGuid)))
        writeTicketLog("Ticket ID or GUID not storable in Tiqora.ini, not written: " + receipt.ticketId);
}

// The record of a delivered ticket in the sent folder. The ticket counts as
// delivered whatever happens here.
void recordDelivered(const ProcessValues& values, TicketKind kind, const std::string& ticketId,
                     const std::string& body) {
    if (!isSafeRecordText(ticketId)) {
        writeTicketLog("Ticket ID names no file, no record written: " + ticketId);
        return;
    }
    if (writeSentRecord(values.folders.sent, kind, ticketId, body)) {
        writeTicketLog("Write Success File in IT Ticket S");
    } else {
        writeTicketLog("Fail to open file while creating Sucess Report:");
    }
}

// The record of an undelivered ticket in the pending folder; true when written.
bool recordPending(const ProcessValues& values, TicketKind kind, const std::string& body) {
    return writePendingRecord(values.folders.pending, kind, GetTickCount(), body).has_value();
}

// The screenshot travels after the web ticket, with the ticket's GUID. Only a
// ticket the console created can take it: a picture sent with no GUID could
// never be attached, so it stays on disk.
void uploadScreenshot(const TicketSender& sender, const TicketReceipt& receipt, const ServiceAddress* console) {
    const std::string shownPath = toAnsi(sender.screenshotPath);
    // (A console with no usable address created no ticket.)
    if (!console || !receipt.delivered || receipt.ticketGuid.empty()) {
        writeTicketLog("No ticket GUID from the console, screenshot not uploaded, file kept: " + shownPath);
        return;
    }
    const std::optional<std::string> filePath = narrowScreenshotPath(sender.screenshotPath);
    if (!filePath) {
        writeTicketLog("Screenshot path not expressible in the system code page, not uploaded: " + shownPath);
        return;
    }
    sendScreenShotToWebSrv(*console, toAnsi(fromUtf8(sender.corporateId)), toAnsi(fromUtf8(receipt.ticketGuid)),
                           *filePath);
}

}  // namespace

DeliveryBranch deliveryBranchOf(const KrlmFlags& flags) {
    return deliveryBranchFor(DeliveryFlagsText(flags).flags());
}

int decideAndSend(TicketSender& sender, TicketInput ticket, std::wstring& ticketId) {
    ticket.issueTitle = issueTitleOrDefault(ticket.issueTitle);
    loadTransport(sender);

    const DeliveryBranch branch = deliveryBranchOf(sender.values.flags);
    if (branch.mode == DeliveryMode::None) return 0;

    writeTicketLog(branch.startLine);
    const int result = branch.mode == DeliveryMode::Lan ? sendDataTOLanSrv(sender, ticket, ticketId)
                                                        : sendDataTOWebSrv(sender, ticket, ticketId);
    writeTicketLog(branch.endLine);
    return result;
}

int sendDataTOLanSrv(TicketSender& sender, const TicketInput& ticket, std::wstring& ticketId) {
    writeTicketLog("Enter Lan function sendDataTOLanSrv()");
    LanTicketFields fields;
    fillCommonFields(fields, sender, ticket);
    // The screenshot goes first, so the server has it when the ticket names
    // it; a picture that is gone by now travels as no screenshot at all.
    if (sender.hasScreenshot) {
        writeTicketLog("Screenshot Yes");
        if (auto remoteName = sendScreenShotToLanSrv(sender.screenshotPath, sender.screenshotLibraries)) {
            fields.hasScreenshot = true;
            fields.screenshotRemoteName = std::move(*remoteName);
        }
    } else {
        writeTicketLog("Screenshot Not");
    }
    const std::string body = lanTicketBody(fields);
    writeTicketLog("String to send");
    writeTicketLog(body);

    std::vector<char> reply(kLanTicketReplyBytes, '\0');
    loadTransport(sender);
    if (sender.values.startupTransport.loaded()) {
        const std::string host = toAnsi(sender.lanAddress.host);
        writeTicketLog("WBX is Not  Null ");
        writeTicketLog(host);
        writeTicketLog(sender.lanAddress.apiPath);
        writeTicketLog("----------before _SndWebData4-----");
        if (sender.sendWebdata4)
            sender.sendWebdata4(host.c_str(), sender.lanAddress.apiPath.c_str(), body.c_str(), kLanTicketAgent,
                                kPlainAnswerCall.mode, kPlainAnswerCall.attempts, kPlainAnswerCall.connectSeconds,
                                lanPortNumber(toUtf8(sender.lanAddress.portText)), reply.data());
        writeTicketLog(toLowerAscii(writtenReply(reply)));
        writeTicketLog("---------after _SndWebData4-------");
    }

    const TicketReceipt receipt = readLanTicketReply(writtenReply(reply));
    int result = 0;
    if (!receipt.delivered) {
        writeTicketLog("Fail Ticket");
        writeTicketLog("Failed To send data. Please check Server Connection\n");
        writeTicketLog("");
        writeTicketLog(recordPending(sender.values, TicketKind::Lan, body)
                           ? "Write Fail File in IT Ticket P"
                           : "Fail to open file while creating Sucess Report:");
        writeTicketLog("Fail Ticket end ");
    } else {
        writeTicketLog("request added successfully");
        if (receipt.hasData) writeTicketLog("calculate Ticket ID");
        if (lanIdIsListed(receipt.ticketId)) listTicket(sender.values, L"LAN", receipt);
        ticketId = fromUtf8(receipt.ticketId);
        recordDelivered(sender.values, TicketKind::Lan, receipt.ticketId, body);
        result = 1;
    }
    writeTicketLog("Lan return");
    return result;
}

int sendDataTOWebSrv(TicketSender& sender, const TicketInput& ticket, std::wstring& ticketId) {
    writeTicketLog("SendWebRpt=ON  START sendDataTOWebSrv()");
    WebTicketFields fields;
    fillCommonFields(fields, sender, ticket);
    fields.corpId = sender.corporateId;
    fields.withContact = sender.contactRequired;
    fields.mobile = sender.mobile;
    fields.email = sender.email;
    const std::string body = webTicketBody(fields);
    writeTicketLog(body);
    const auto read = serviceAddressOf(toAnsi(readVendorHosts(installFolder()).webConsole));
    const ServiceAddress* console = std::get_if<ServiceAddress>(&read);
    std::string replyText;
    if (!console) {
        writeTicketLog(refusedAddressLine(kWebConsoleKey, std::get<AddressFault>(read)));
    } else if (console->scheme == WebScheme::Https) {
        // The program sends it itself, over TLS.
        const std::string destination = console->origin();
        writeTicketLog(destination + kCreateTicketPath);
        const TlsReply reply = postOverTls(*console, kWebTicketCall, body);
        if (!reply.answered) writeTicketLog(tlsFailureLine(kWebTicketCall, *console, reply));
        replyText = reply.received;
    } else {
        // The suite's transport library is given the host and port alone: it
        // chooses its own transport.
        const std::string& destination = console->hostAndPort;
        writeTicketLog(destination + kCreateTicketPath);
        std::vector<char> reply(kWebConsoleTicketReplyBytes, '\0');
        const TransportLibrary& transport = sender.values.startupTransport;
        if (transport.sendWebdata3)
            transport.sendWebdata3(destination.c_str(), kCreateTicketPath, body.c_str(), kWebTicketAgent,
                                   kWebConsoleCall.mode, kWebConsoleCall.attempts, kWebConsoleCall.connectSeconds,
                                   reply.data());
        replyText = writtenReply(reply);
    }
    writeTicketLog(replyText);

    const TicketReceipt receipt = readWebTicketReply(replyText);
    int result = 0;
    if (receipt.delivered) {
        if (receipt.hasData) writeTicketLog("calculate Ticket ID");
        if (lanIdIsListed(receipt.ticketId)) writeTicketLog("Write GUID in Tiqora.ini ");
        listTicket(sender.values, L"WEB", receipt);
        ticketId = fromUtf8(receipt.ticketId);
        recordDelivered(sender.values, TicketKind::Web, receipt.ticketId, body);
        result = 1;
    } else {
        writeTicketLog("Fail To send data\n");
        writeTicketLog(body);
        writeTicketLog(recordPending(sender.values, TicketKind::Web, body) ? "Write Fail File in IT Ticket P"
                                                                           : "Fail to write the ticket to IT Ticket P");
    }
    if (sender.hasScreenshot) {
        writeTicketLog("Screenshot Yes");
        uploadScreenshot(sender, receipt, console);
    }
    return result;
}

}  // namespace tiqora
