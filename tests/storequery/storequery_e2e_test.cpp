// storequery as a user runs it: the system it asks to open the search URL is
// the simulated device, which journals the URL.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/clean_exit.h"
#include "tests/support/device.h"

namespace {

std::string opened(const std::string& term, const std::string& store = "http://ax.search.itunes.apple.com") {
  return "openURL\t" + store +
         "/WebObjects/MZSearch.woa/wa/search?WOURLEncoding=ISO8859_1&lang=1&output=lm&country=US&term=" + term +
         "&media=music";
}

class StorequeryTest : public ::testing::Test {
 protected:
  e2e::Result storequery(std::vector<std::string> arguments, const std::string& store = "") {
    return e2e::runProgram(device, "storequery", std::move(arguments), "", {{"SBKIT_STORE_SERVICE", store}});
  }
  e2e::TemporaryDevice device;
};

TEST_F(StorequeryTest, WithoutAPhraseItPrintsTheUsageAndOpensNothing) {
  auto r = storequery({});
  EXPECT_EQ(r.out, "Usage: " + e2e::program("storequery") + " search-phrase\n");
  EXPECT_EQ(r.err, "");
  ASSERT_TRUE(e2e::exitedWith(r, 255));
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(StorequeryTest, OpensTheSearchWithTheWholePhraseAsTheTermAndPrintsNothing) {
  struct Case {
    std::vector<std::string> arguments;
    std::string term, store = "", opensBelow = "http://ax.search.itunes.apple.com";
  };
  for (const Case& c :
       {Case{{"Beatles"}, "Beatles"}, Case{{"abbey road"}, "abbey%20road"}, Case{{"abbey", "road"}, "abbey"},
        Case{{""}, ""}, Case{{"#1 hits 100%"}, "%231%20hits%20100%25"},
        Case{{"Simon & Garfunkel"}, "Simon%20%26%20Garfunkel"}, Case{{"a=b+c;d"}, "a%3Db%2Bc%3Bd"},
        Case{{"Bj\xc3\xb6rk"}, "Bj%C3%B6rk"}, Case{{"tab\there"}, "tab%09here"},
        Case{{"abbey road"}, "abbey%20road", "https://store.example.com/", "https://store.example.com"}}) {
    device.clearJournal();
    auto r = storequery(c.arguments, c.store);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));
    EXPECT_EQ(device.journal(), std::vector<std::string>{opened(c.term, c.opensBelow)}) << c.term;
  }
}

TEST_F(StorequeryTest, AStoreThatIsNoBaseUrlIsRefusedAndNothingIsOpened) {
  auto r = storequery({"Beatles"}, "https://store.example.com/search?q=");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "storequery: SBKIT_STORE_SERVICE is a base URL and cannot have a user part, a query or a fragment\n");
  ASSERT_TRUE(e2e::exitedWith(r, 1));
  EXPECT_TRUE(device.journal().empty());
}

}  // namespace
