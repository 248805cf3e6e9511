#include "features/feedback/feedback_details.h"

#include <cwctype>
#include <initializer_list>

#include "core/text/trim.h"
#include "win/config_sources.h"
#include "win/feedback_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

std::wstring withoutTrailingSpace(const std::wstring& text) {
    return std::wstring(trimmedEnd(std::wstring_view(text), [](wchar_t c) { return std::iswspace(static_cast<std::wint_t>(c)) != 0; }));
}

}  // namespace

CustomerDetails readFeedbackDetails() {
    struct Value {
        std::wstring CustomerDetails::*field;
        const wchar_t* name;
        const char* label;
        std::initializer_list<RegistrySource> order;
    };
    const Value values[] = {
        {&CustomerDetails::licenceCode, L"LicenseCode", "LicKey:", registry_order::kFeedbackDetails},
        {&CustomerDetails::expiryDate, L"Logstr1", "KeyExpiryDate:", registry_order::kFeedbackDetails},
        {&CustomerDetails::customerName, L"InstallationUserName", "CustName:", registry_order::kFeedbackDetails},
        {&CustomerDetails::city, L"City", "City:", registry_order::kFeedbackDetails},
        {&CustomerDetails::district, L"District", "District:", registry_order::kFeedbackDetails},
        {&CustomerDetails::email, L"InstallationEmailID", "EMail:", registry_order::kFeedbackDetails},
        {&CustomerDetails::mobile, L"MobileNo", "MobNo:", registry_order::kFeedbackDetails},
        {&CustomerDetails::osName, L"ProductName", "OSName:", registry_order::kOperatingSystemName},
    };

    writeFeedbackLog("in GetPCDetails");
    CustomerDetails details;
    for (const Value& value : values) {
        std::wstring& field = details.*value.field;
        field = withoutTrailingSpace(readRegistryString(value.order, value.name));
        writeFeedbackLog(value.label + toAnsi(field));
    }
    writeFeedbackLog("out GetPCDetails()");
    return details;
}

}  // namespace tiqora
