#include "tools/indicator/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/argument_vector.h"

namespace {

using namespace indicator;

// A step as letters and names, for comparing.
struct Seen {
  Action action;
  std::string name;
  friend bool operator==(const Seen&, const Seen&) = default;
};

class CommandLineTest : public ::testing::Test {
 protected:
  // Runs the scanner over a fresh argument vector, the program name first.
  CommandLine parse(std::vector<std::string> arguments) {
    arguments_.emplace("indicator", std::move(arguments));
    return parseCommandLine(arguments_->argc(), arguments_->argv());
  }
  std::vector<Seen> steps(const CommandLine& line) {
    std::vector<Seen> seen;
    for (const Step& step : line.steps) seen.push_back({step.action, step.name});
    return seen;
  }

 private:
  // Kept while the result may point into it.
  std::optional<ArgumentVector> arguments_;
};

TEST_F(CommandLineTest, StepsComeInCommandLineOrderWithTheirNamesAsTyped) {
  CommandLine line = parse({"-s", "A", "-r", "B", "-tC", "-s", "two words", "-r", "-s"});
  EXPECT_EQ(line.ending, Ending::finished);
  EXPECT_EQ(steps(line), (std::vector<Seen>{{Action::show, "A"},
                                            {Action::remove, "B"},
                                            {Action::showBriefly, "C"},
                                            {Action::show, "two words"},
                                            {Action::remove, "-s"}}));
}

TEST_F(CommandLineTest, ScanningStopsAtTheFirstOperandOrAfterTheDoubleDash) {
  for (auto arguments : std::vector<std::vector<std::string>>{
           {"-s", "A", "foo", "-r", "B"}, {"-s", "A", "--", "-r", "B"}, {"-sA", "-", "-r", "B"}}) {
    CommandLine line = parse(arguments);
    EXPECT_EQ(line.ending, Ending::finished);
    EXPECT_EQ(steps(line), (std::vector<Seen>{{Action::show, "A"}})) << arguments[1];
  }
  CommandLine none = parse({"foo", "-s", "A"});
  EXPECT_EQ(none.ending, Ending::finished);
  EXPECT_TRUE(none.steps.empty());
}

TEST_F(CommandLineTest, ListingEndsTheScanAndKeepsTheStepsBeforeIt) {
  CommandLine line = parse({"-s", "A", "-l", "-r", "B"});
  EXPECT_EQ(line.ending, Ending::listing);
  EXPECT_EQ(steps(line), (std::vector<Seen>{{Action::show, "A"}}));
  // Flags may be grouped: the listing comes before the value option's turn.
  line = parse({"-lsA"});
  EXPECT_EQ(line.ending, Ending::listing);
  EXPECT_TRUE(line.steps.empty());
}

TEST_F(CommandLineTest, OptionBBadLettersAndMissingValuesStopTheRun) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<Seen> before;
  };
  for (const Case& c : {Case{{"-b", "1", "-s", "A"}, {}}, Case{{"-s", "A", "-x", "-r", "B"}, {{Action::show, "A"}}},
                        Case{{"-s"}, {}}, Case{{"-r", "A", "-t"}, {{Action::remove, "A"}}}, Case{{"-b"}, {}},
                        Case{{"-s", "A", "-L"}, {{Action::show, "A"}}}, Case{{"-\xe9"}, {}}}) {
    CommandLine line = parse(c.arguments);
    EXPECT_EQ(line.ending, Ending::stopped) << c.arguments[0];
    EXPECT_EQ(steps(line), c.before) << c.arguments[0];
  }
}

}  // namespace
