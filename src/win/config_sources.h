// Readers for the suite's configuration: ini files read with the private-
// profile functions (fixed buffer sizes and defaults) and registry string
// values tried in a fixed order of sources. Nothing is ever reported when a
// value is missing, and the program never writes the registry.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/it_ticket/delivery_mode.h"

namespace tiqora {

// --- ini files ---------------------------------------------------------------

// GetPrivateProfileStringW into a buffer of `capacity` wide characters: a
// longer value is cut to capacity - 1 characters; a missing file, section or
// key gives `fallback`.
std::wstring readIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                           const wchar_t* fallback, size_t capacity);

// The 8-bit variant (used for ServerIP.ini).
std::string readIniStringA(const std::string& file, const char* section, const char* key, const char* fallback,
                           size_t capacity);

// The lines of one section of an ini file as the system hands them over
// ("key=value" each), read at once.
std::vector<std::wstring> readProfileSection(const std::wstring& file, const wchar_t* section);

// Writes `value` under `key` of `section` with WritePrivateProfileStringW,
// but only when both read back exactly. The profile functions keep a file
// in the system code page (every file the suite or this program makes) and
// store each character that page lacks as "?" or a look-alike, which a
// later read would take for the typed text; a file that begins with a UTF-16
// byte-order mark holds any text. False, with nothing written, when the key
// or value would change, or when the write fails.
bool writeIniStringExactly(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                           const std::wstring& value);

// The three delivery flags of KRLM.ini, read once at start-up.
struct KrlmFlags {
    std::wstring sendWebRpt;      // "N/A" when missing; compared with "ON"
    std::wstring sendLocalRpt;    // empty when missing
    std::wstring itTicketServer;  // empty when missing; "L" or "W" force a mode
};

KrlmFlags readKrlmFlags(const std::wstring& productDataFolder);

// The flags as UTF-8 for the delivery rules. Compared exactly there: no
// code-page mapping may turn another text into a flag.
class DeliveryFlagsText {
public:
    explicit DeliveryFlagsText(const KrlmFlags& flags);
    // Valid while this object lives.
    DeliveryFlags flags() const { return {itTicketServer_, sendLocalRpt_, sendWebRpt_}; }
    const std::string& sendWebRpt() const { return sendWebRpt_; }

private:
    std::string itTicketServer_;
    std::string sendLocalRpt_;
    std::string sendWebRpt_;
};

// The suite folder that holds WBX.DLL, from QXPath.ini; "N/A" when missing.
std::wstring readQxPath(const std::wstring& productDataFolder);

// The last user name of the IT ticket form, from DPX_AdminTicket.ini.
std::wstring readAdminTicketUserName(const std::wstring& productDataFolder);

// The vendor's service hosts. Compiled-in defaults under a reserved example
// domain; an optional TiqoraDesk.ini in the install folder (section "Hosts")
// can point each elsewhere. A host may carry ":port", and a service the
// program posts to a scheme (core/net/service_address.h).
struct VendorHosts {
    std::wstring callTracking;    // support requests
    std::wstring helpDeskMail;    // feedback mail
    std::wstring feedbackPage;    // the public feedback page, opened in the browser
    std::wstring webConsole;      // IT tickets, screenshots and ticket pages
    std::wstring pendingTickets;  // re-sent web tickets
};

inline constexpr wchar_t kVendorSettingsFile[] = L"TiqoraDesk.ini";
// The [Hosts] keys of the services the program posts to.
inline constexpr wchar_t kCallTrackingKey[] = L"CallTracking";
inline constexpr wchar_t kHelpDeskMailKey[] = L"HelpDeskMail";
inline constexpr wchar_t kWebConsoleKey[] = L"WebConsole";
inline constexpr wchar_t kPendingTicketsKey[] = L"PendingTickets";

VendorHosts readVendorHosts(const std::wstring& installFolder);

// The vendor's support phone number, shown on the feedback form beside its
// WhatsApp button: section "Support", key "Phone" of the same TiqoraDesk.ini,
// at most 63 characters; a compiled-in number when missing.
std::wstring readSupportPhone(const std::wstring& installFolder);

// --- registry ----------------------------------------------------------------

enum class RegistrySource {
    SuiteConfig,      // HKLM\SOFTWARE\Kelvane\Orvantis\Config
    SuiteConfig32,    // HKLM\SOFTWARE\Wow6432Node\Kelvane\Orvantis\Config
    LegacyUser,       // HKCU\SOFTWARE\VB and VBA Program Settings\ZORVEXGUARD\Config
    OperatingSystem,  // HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion
};

// Where a source lives.
struct RegistryKeyPath {
    HKEY root;
    const wchar_t* path;
};
RegistryKeyPath registryKeyPathOf(RegistrySource source);

// Standard string buffer of the readers, in bytes: holds 127 wide characters.
inline constexpr size_t kRegistryBufferBytes = 256;

// One string value from one source, read into a buffer of `bufferBytes`
// bytes. Missing key or value, a value that is not a string, or a value
// (with its terminator) longer than the buffer: no value.
std::optional<std::wstring> readRegistryString(RegistrySource source, const wchar_t* name,
                                               size_t bufferBytes = kRegistryBufferBytes);

// The first source in `order` that yields the value wins; empty when none does.
std::wstring readRegistryString(std::initializer_list<RegistrySource> order, const wchar_t* name,
                                size_t bufferBytes = kRegistryBufferBytes);

// The orders in which the program's readers try the sources.
namespace registry_order {
inline constexpr std::initializer_list<RegistrySource> kRequestForm{RegistrySource::SuiteConfig,
                                                                    RegistrySource::SuiteConfig32};
inline constexpr std::initializer_list<RegistrySource> kFeedbackDetails{RegistrySource::SuiteConfig,
                                                                        RegistrySource::LegacyUser};
inline constexpr std::initializer_list<RegistrySource> kOperatingSystemName{RegistrySource::OperatingSystem,
                                                                            RegistrySource::LegacyUser};
inline constexpr std::initializer_list<RegistrySource> kTicketFormLicence{RegistrySource::SuiteConfig,
                                                                          RegistrySource::LegacyUser};
inline constexpr std::initializer_list<RegistrySource> kCorporateId{RegistrySource::SuiteConfig,
                                                                    RegistrySource::SuiteConfig32};
inline constexpr std::initializer_list<RegistrySource> kPendingResendLicence{RegistrySource::SuiteConfig,
                                                                             RegistrySource::SuiteConfig32};
}  // namespace registry_order

}  // namespace tiqora
