#include "tools/storequery/search_url.h"

#include "platform/url_escape.h"

namespace storequery {

std::string searchUrl(std::string_view service, std::string_view phrase) {
  return std::string(service) +
         "/WebObjects/MZSearch.woa/wa/search?WOURLEncoding=ISO8859_1&lang=1&output=lm&country=US&term=" +
         platform::escapeForQueryValue(phrase) + "&media=music";
}

}  // namespace storequery
