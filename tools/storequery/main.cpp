// storequery: shows the music store's search results for a phrase, by asking
// the system to open the store's search URL for it.

#include "platform/open_url.h"
#include "tools/storequery/search_url.h"

int main(int argc, char* argv[]) {
  if (argc <= 1) storequery::usage(argv[0]);
  // Whether an application took the URL is not ours to know.
  platform::openURL(storequery::searchUrl(argv[1]));
  return 0;
}
