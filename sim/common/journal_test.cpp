#include "sim/common/journal.h"
#include "tests/support/scratch_root.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

TEST(Journal, EscapesBackslashTabNewlineAndControlBytes) {
  EXPECT_EQ(sim::escapeJournalField("plain text"), "plain text");
  EXPECT_EQ(sim::escapeJournalField("a\\b\tc\nd"), "a\\\\b\\tc\\nd");
  EXPECT_EQ(sim::escapeJournalField(std::string("\x01\x1b\r", 3)), "\\x01\\x1b\\x0d");
  EXPECT_EQ(sim::escapeJournalField("caf\xc3\xa9"), "caf\xc3\xa9") << "bytes above 0x1f stay as they are";
}

TEST(Journal, AppendsOneTimedLinePerCallCreatingTheFileOnFirstUse) {
  ScratchRoot root;
  sim::journal("SBSSpringBoardServerPort");
  sim::journal("SBSetApplicationBadge", {"com.example.app", ""});
  sim::journal("SBAddStatusBarItem", {"owner", "two\nlines"});

  std::ifstream in(root.path() / "private/var/sim/journal");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  std::smatch m;
  const std::regex stamped(R"(^(\d+\.\d{3})\t(.*)$)");
  std::vector<std::string> calls;
  for (const auto& line : lines) {
    ASSERT_TRUE(std::regex_match(line, m, stamped)) << line;
    calls.push_back(m[2]);
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"SBSSpringBoardServerPort", "SBSetApplicationBadge\tcom.example.app\t",
                                             "SBAddStatusBarItem\towner\ttwo\\nlines"}));
}

}  // namespace
