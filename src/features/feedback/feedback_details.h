// The customer details the feedback sends, read from the suite's registry
// configuration each time the customer submits. (The support request form
// reads its own four values: request_details.h.)
#pragma once

#include <string>

namespace tiqora {

// The customer's identity as the suite keeps it; a value missing everywhere
// is empty. Trailing white space is removed from each.
struct CustomerDetails {
    std::wstring licenceCode;   // "LicenseCode"
    std::wstring expiryDate;    // "Logstr1", as the suite stores it
    std::wstring customerName;  // "InstallationUserName"
    std::wstring city;          // "City"
    std::wstring district;      // "District"
    std::wstring email;         // "InstallationEmailID"
    std::wstring mobile;        // "MobileNo"
    std::wstring osName;        // "ProductName" of the operating-system key
};

// Reads the eight values in the order above: each from the suite
// configuration key and then the legacy per-user key (the operating-system
// name from the operating-system key and then the legacy per-user key), a
// value longer than 127 characters counting as missing in that source.
// Writes ten lines to the feedback log: "in GetPCDetails", one "<label>:
// <value>" line per value (labels LicKey, KeyExpiryDate, CustName, City,
// District, EMail, MobNo, OSName; no blank after the colon; the value in the
// system code page) and "out GetPCDetails()".
CustomerDetails readFeedbackDetails();

}  // namespace tiqora
