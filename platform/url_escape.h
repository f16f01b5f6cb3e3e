#pragma once

// Percent escaping for URLs: each byte of the UTF-8 text that must not stand
// as it is becomes "%" and two upper-case hexadecimal digits.

#include <string>
#include <string_view>

namespace platform {

// The system's escaping for a whole URL: letters, digits and the unreserved
// ("-_.!~*'()") and reserved (";/?:@&=+$,") characters stay, all else is
// escaped. What separates a URL's parts passes, so this alone cannot make
// text safe inside one part.
std::string escapeForUrl(std::string_view text);

// A value of a form body or a query: as escapeForUrl, and "&", "+", "=" and
// ";" too, so the receiver reads back exactly the text.
std::string escapeForQueryValue(std::string_view text);

// A user name or password in a URL's user part: as escapeForUrl, and ":", "@",
// "/", "?", "#", "[", "]" and "%" too, so nothing in it can end the part.
std::string escapeForUserInfo(std::string_view text);

}  // namespace platform
