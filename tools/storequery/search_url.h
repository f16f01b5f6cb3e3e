#pragma once

// The music store's search URL for a phrase.

#include <string>
#include <string_view>

namespace storequery {

// The music store's base URL, unless the environment variable names another.
inline constexpr const char* kServiceVariable = "SBKIT_STORE_SERVICE";
inline constexpr const char* kDefaultService = "http://ax.search.itunes.apple.com";

// "BASE/WebObjects/MZSearch.woa/wa/search?WOURLEncoding=ISO8859_1&lang=1
// &output=lm&country=US&term=PHRASE&media=music", the UTF-8 phrase escaped as
// a query value, so that all of it is the term.
std::string searchUrl(std::string_view service, std::string_view phrase);

}  // namespace storequery
