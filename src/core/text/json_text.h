// JSON text shared by every body the program sends: the inside of a JSON
// string. Free of Windows headers; text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

// `text` as the inside of a JSON string, so that a JSON parser reads back
// exactly `text`: quotation mark and backslash are escaped, CR becomes \r,
// LF \n, tab \t (an edit control's CR LF line break stays CR LF), every
// other control character \u00XX. Bytes from 0x80 up pass unchanged, so
// UTF-8 text stays UTF-8.
std::string jsonEscape(std::string_view text);

}  // namespace tiqora
