#include "features/support_request/request_details.h"

#include "win/config_sources.h"

namespace tiqora {

RequestDetails readRequestDetails() {
    using registry_order::kRequestForm;
    // The name has a buffer of 260 bytes, the others the standard 256.
    return RequestDetails{
        readRegistryString(kRequestForm, L"InstallationUserName", 260),
        readRegistryString(kRequestForm, L"City"),
        readRegistryString(kRequestForm, L"state"),
        readRegistryString(kRequestForm, L"LicenseCode"),
    };
}

}  // namespace tiqora
