// The customer details the support request form starts from, read from the
// suite's configuration key and then its 32-bit view. A value that is
// missing (or too long for its buffer) in both is empty.
#pragma once

#include <string>

namespace tiqora {

struct RequestDetails {
    std::wstring customerName;  // "InstallationUserName", up to 129 characters
    std::wstring city;          // "City"
    std::wstring state;         // "state"
    std::wstring licenceCode;   // "LicenseCode", never shown; sent with the request
};

RequestDetails readRequestDetails();

}  // namespace tiqora
