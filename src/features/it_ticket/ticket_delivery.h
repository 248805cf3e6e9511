// Delivering an IT ticket: decideAndSend picks the LAN server or the web
// console by the delivery mode, and sendDataTOLanSrv / sendDataTOWebSrv post
// the ticket through the suite's transport library, judge the reply, keep the
// ticket id and GUID in the IT ticket folder's Tiqora.ini and leave a record
// file: in the sent folder for a delivered ticket, in the pending folder (for
// the "/sysp" resend) for one that was not. Every step goes to the IT ticket
// log. All calls block the user-interface thread.
//
// A ticket the server confirmed counts as delivered even when its record
// cannot be written (the failure is logged; nothing goes to the pending
// folder, which would send it twice). A ticket id or GUID from a reply that
// could not stand in a file name or an ini key names no file and is kept out
// of Tiqora.ini; the ticket still counts as delivered.
//
// A screenshot taken with the form travels with the ticket: to the LAN
// server before the ticket that names it (a picture gone by then travels as
// none: "HasScreenShot":"NO"), to the web console after the ticket, and only
// when the console created it and returned its GUID.
#pragma once

#include <string>

#include "core/it_ticket/delivery_mode.h"
#include "features/it_ticket/get_url.h"
#include "features/it_ticket/screenshot_delivery.h"
#include "win/process_values.h"
#include "win/suite_exports.h"

namespace tiqora {

// What the form hands to the delivery besides the ticket itself. Texts are
// UTF-8.
struct TicketSender {
    explicit TicketSender(ProcessValues& processValues) : values(processValues) {}

    ProcessValues& values;                 // folders, flags, the transport library
    SendWebdata4Fn sendWebdata4 = nullptr; // resolved from the transport library
    LanServerAddress lanAddress;           // resolved by GetUrl when the form opened in LAN mode
    std::string licenceCode;
    std::string corporateId;
    std::string userName;                  // the form's "Host Name" field
    bool contactRequired = false;          // the contact customer: Mobile and Email travel too
    std::string mobile;
    std::string email;

    // The screenshot taken with the form: whether one was saved, the file of
    // the latest one, and the libraries that hand it to the LAN server.
    bool hasScreenshot = false;
    std::wstring screenshotPath;
    LanScreenshotLibraries screenshotLibraries;
};

// The ticket as typed (UTF-8): the description already trimmed; the priority
// code "2", "1" or "0".
struct TicketInput {
    std::string hostName;
    std::string machineIp;
    std::string issueTitle;
    std::string priorityCode;
    std::string description;
};

// The branch of the delivery mode table that the KRLM.ini flags choose.
DeliveryBranch deliveryBranchOf(const KrlmFlags& flags);

// Sends the ticket the way the delivery mode says; 1 when it was delivered
// (`ticketId` then holds the server's id), 0 otherwise (no mode, or not
// delivered: the ticket then waits in the pending folder).
int decideAndSend(TicketSender& sender, TicketInput ticket, std::wstring& ticketId);

int sendDataTOLanSrv(TicketSender& sender, const TicketInput& ticket, std::wstring& ticketId);
int sendDataTOWebSrv(TicketSender& sender, const TicketInput& ticket, std::wstring& ticketId);

}  // namespace tiqora
