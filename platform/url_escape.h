#pragma once

// Percent escaping for URLs. Text is taken as UTF-8 bytes and each byte that
// must not stand in the URL as it is becomes "%" and two upper-case
// hexadecimal digits.

#include <string>
#include <string_view>

namespace platform {

// The system's escaping for a whole URL: letters, digits and the unreserved
// ("-_.!~*'()") and reserved (";/?:@&=+$,") characters of the URL syntax stay;
// everything else (blank, '"', "%", "#", "[", "]", control bytes, every byte
// outside ASCII, ...) is escaped. Characters that separate the parts of a URL
// pass, so this alone cannot make text safe inside one part.
std::string escapeForUrl(std::string_view text);

// A value of a form body or of a query ("key=value&..."): as escapeForUrl, and
// "&", "+", "=" and ";" are escaped too, so the receiver reads back exactly the
// text, never a second parameter or a blank for "+".
std::string escapeForQueryValue(std::string_view text);

// A user name or a password in the user-information part of a URL: as
// escapeForUrl, and ":", "@", "/", "?", "#", "[", "]" and "%" are escaped too,
// so nothing in it can end the user name, the user information or the host.
std::string escapeForUserInfo(std::string_view text);

}  // namespace platform
