// The text logic of the ticket pages: the two page addresses, the Base64 of
// the corporate id, the escaping of the ticket GUID, how an address is
// handed to a browser on its command line. Texts are UTF-8 (the corporate id: its 8-bit bytes as they are).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/net/service_address.h"

namespace tiqora {

inline constexpr std::string_view kLanTicketPagePath = "/adminTicketExternal/UserTicket?ticketGuid=";
inline constexpr std::string_view kWebTicketPagePath = "/user/it-ticket/ticket-info/";

// Standard Base64 (A-Z a-z 0-9 + /, "=" padding) on one line, whatever the
// length: the ticket history and the reply popup both use it, so a long
// corporate id leads both to the same page.
std::string base64Encode(std::string_view bytes);

// Every byte outside A-Z a-z 0-9 - . _ ~ becomes %XX (upper-case hex), so a
// GUID from a record or a command line can change nothing but its own value
// in an address: no space, quote, "&" or "#" passes. A normal GUID is
// unchanged.
std::string percentEncode(std::string_view text);

// "http://" + host + ":" + port number + the LAN page path + encoded GUID.
// The port is the number at the start of the port text ("81:7777" gives 81),
// since a port text may carry the server's own port before the LAN port.
std::string lanTicketPageAddress(std::string_view host, std::string_view portText, std::string_view ticketGuid);

// The web console's origin ("http://" or "https://", its host and port) +
// the web page path + Base64 of the corporate id + "/" + encoded GUID. An
// empty corporate id leaves an empty segment ("//").
std::string webTicketPageAddress(const ServiceAddress& console, std::string_view corporateIdBytes,
                                 std::string_view ticketGuid);

// `text` as one argument of a Windows command line, as the C runtime and
// CommandLineToArgvW read it back: in quotes, with quotes and the
// backslashes before them escaped.
std::string quoteArgument(std::string_view text);

// What a browser started with arguments receives: "--" (no switch follows)
// and the address as one argument.
std::string browserArguments(std::string_view address);

// `program` + " " + browserArguments(address).
std::string browserCommandLine(std::string_view program, std::string_view address);

// Whether a text of `length` characters fits a buffer of `capacity`
// characters with its terminator.
inline bool fitsBuffer(std::size_t length, std::size_t capacity) { return length < capacity; }

}  // namespace tiqora
