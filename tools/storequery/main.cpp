// storequery: shows the music store's search results for a phrase, by asking
// the system to open the store's search URL for it (below the built-in base,
// or the one SBKIT_STORE_SERVICE names).

#include <err.h>

#include <cstdio>
#include <cstdlib>

#include "bindings/open_url.h"
#include "platform/service_url.h"
#include "tools/storequery/search_url.h"

using namespace storequery;

namespace {

constexpr int kUsageStatus = 255;

[[noreturn]] void usage(const char* programName) {
  std::printf("Usage: %s search-phrase\n", programName);
  std::exit(kUsageStatus);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1) usage(argv[0]);
  platform::ServiceUrl store = platform::serviceUrl(kServiceVariable, kDefaultService, platform::ServiceUrlKind::base);
  if (!store.url) errx(1, "%s", store.refusal.c_str());
  // Whether an application took the URL is not ours to know.
  bindings::openURL(searchUrl(*store.url, argv[1]));
  return 0;
}
