#include "tools/storequery/search_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using storequery::kDefaultService;
using storequery::searchUrl;

std::string withTerm(const std::string& term) {
  return "http://ax.search.itunes.apple.com/WebObjects/MZSearch.woa/wa/search"
         "?WOURLEncoding=ISO8859_1&lang=1&output=lm&country=US&term=" +
         term + "&media=music";
}

TEST(SearchUrl, PutsTheEscapedPhraseIntoTheTerm) {
  EXPECT_EQ(searchUrl(kDefaultService, "Beatles"), withTerm("Beatles"));
  EXPECT_EQ(searchUrl(kDefaultService, "abbey road"), withTerm("abbey%20road"));
  EXPECT_EQ(searchUrl(kDefaultService, ""), withTerm(""));
  EXPECT_EQ(searchUrl(kDefaultService, "Bj\xc3\xb6rk"), withTerm("Bj%C3%B6rk")) << "UTF-8, whatever the query says";
}

TEST(SearchUrl, KeepsTheWholePhraseInsideTheTerm) {
  EXPECT_EQ(searchUrl(kDefaultService, "Simon & Garfunkel"), withTerm("Simon%20%26%20Garfunkel"));
  EXPECT_EQ(searchUrl(kDefaultService, "#1 hits"), withTerm("%231%20hits"));
  EXPECT_EQ(searchUrl(kDefaultService, "100% a=b+c;d"), withTerm("100%25%20a%3Db%2Bc%3Bd"));
  EXPECT_EQ(searchUrl(kDefaultService, "AC/DC?"), withTerm("AC/DC?"));
}

}  // namespace
