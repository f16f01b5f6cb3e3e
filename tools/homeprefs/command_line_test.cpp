#include "tools/homeprefs/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/argument_vector.h"

namespace {

using namespace homeprefs;
using platform::plist::Array;
using platform::plist::Value;

// Runs the scanner over a fresh argument vector, the program name first.
class CommandLineTest : public ::testing::Test {
 protected:
  CommandLine parse(std::vector<std::string> arguments) {
    arguments_.emplace("homeprefs", std::move(arguments));
    return parseCommandLine(arguments_->argc(), arguments_->argv());
  }

  Request request(std::vector<std::string> arguments) {
    CommandLine line = parse(std::move(arguments));
    EXPECT_TRUE(std::holds_alternative<Request>(line));
    return std::holds_alternative<Request>(line) ? std::get<Request>(line) : Request{};
  }

 private:
  // Kept while the result may point into it.
  std::optional<ArgumentVector> arguments_;
};

TEST_F(CommandLineTest, TheLastValueOptionFixesTheValueAndTheLastOfThemAndRemoveTheAction) {
  Request trueAfterRemove = request({"-r", "-1", "key"});
  EXPECT_EQ(trueAfterRemove.action, Action::set);
  EXPECT_EQ(trueAfterRemove.value, Value(true));

  Request removeAfterTrue = request({"-1", "-r", "key"});
  EXPECT_EQ(removeAfterTrue.action, Action::remove);
  EXPECT_EQ(removeAfterTrue.value, Value(true)) << "-r leaves the value alone";

  Request grouped = request({"-10", "key"});
  EXPECT_EQ(grouped.action, Action::set);
  EXPECT_EQ(grouped.value, Value(false));
  EXPECT_STREQ(grouped.key, "key");
}

TEST_F(CommandLineTest, ValuesAreReadAsTheirOptionsSay) {
  EXPECT_EQ(request({"-i", "12abc", "k"}).value, Value(12));
  EXPECT_EQ(request({"-iabc", "k"}).value, Value(0));
  EXPECT_EQ(request({"-i", "-7", "k"}).value, Value(-7));
  Value tenth = *request({"-f", "0.1", "k"}).value;
  ASSERT_TRUE(tenth.is<float>());
  EXPECT_EQ(*tenth.get<float>(), 0.1f);
  EXPECT_EQ(request({"-s", "hello world", "k"}).value, Value("hello world"));
  EXPECT_EQ(request({"-a", "hello", "k"}).value, Value(Array{Value("hello")}));
  EXPECT_EQ(request({"-s", "", "k"}).value, Value(""));
}

TEST_F(CommandLineTest, ScanningStopsAtTheKeyOrAfterTheDoubleDash) {
  Request keyFirst = request({"key", "-i", "5"});
  EXPECT_EQ(keyFirst.action, Action::show);
  EXPECT_STREQ(keyFirst.key, "key");
  EXPECT_FALSE(keyFirst.value);

  Request dashed = request({"--", "-r"});
  EXPECT_EQ(dashed.action, Action::show);
  EXPECT_STREQ(dashed.key, "-r");

  EXPECT_TRUE(std::holds_alternative<MissingKey>(parse({"-r"})));
  EXPECT_TRUE(std::holds_alternative<MissingKey>(parse({"-i", "5"})));
}

TEST_F(CommandLineTest, ListActsWhenMetAndIgnoresWhatFollows) {
  EXPECT_TRUE(std::holds_alternative<ListRequest>(parse({"-i", "5", "-l"})));
  EXPECT_TRUE(std::holds_alternative<ListRequest>(parse({"-l", "-x"})));
  EXPECT_TRUE(std::holds_alternative<ListRequest>(parse({"-l", "extra"})));
  // As the value of -s, "-l" is just text.
  EXPECT_EQ(request({"-s", "-l", "k"}).value, Value("-l"));
}

TEST_F(CommandLineTest, BadOptionsNameTheirLetter) {
  auto letterOf = [&](std::vector<std::string> arguments) {
    CommandLine line = parse(std::move(arguments));
    EXPECT_TRUE(std::holds_alternative<BadOption>(line));
    return std::holds_alternative<BadOption>(line) ? std::get<BadOption>(line).letter : -1;
  };
  EXPECT_EQ(letterOf({"-x", "k"}), 'x');
  EXPECT_EQ(letterOf({"-s"}), 's') << "a value option with nothing left";
  EXPECT_EQ(letterOf({"-1x", "k"}), 'x');
  EXPECT_EQ(letterOf({"-\x01", "k"}), 1);
}

TEST_F(CommandLineTest, UnstorableValuesAreKeptAsProblemsUntilOverridden) {
  Request outOfRange = request({"-i", "2147483648", "k"});
  EXPECT_EQ(outOfRange.action, Action::set);
  EXPECT_FALSE(outOfRange.value);
  EXPECT_EQ(outOfRange.valueProblem, "integer value out of range (-2147483648 to 2147483647): 2147483648");

  EXPECT_TRUE(request({"-s", "caf\xc3\xa9", "k"}).valueProblem);
  EXPECT_TRUE(request({"-a", "\x80", "k"}).valueProblem);
  EXPECT_TRUE(request({"-f", "1e39", "k"}).valueProblem);
  EXPECT_TRUE(request({"-f", "nan", "k"}).valueProblem);

  Request overridden = request({"-s", "caf\xc3\xa9", "-1", "k"});
  EXPECT_FALSE(overridden.valueProblem);
  EXPECT_EQ(overridden.value, Value(true));

  // A later remove does not need the value at all.
  Request removed = request({"-i", "99999999999", "-r", "k"});
  EXPECT_EQ(removed.action, Action::remove);
}

}  // namespace
