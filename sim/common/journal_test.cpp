#include "sim/common/journal.h"
#include "tests/support/scratch_root.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

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
