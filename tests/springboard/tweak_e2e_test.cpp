// Tweaks built as anyone's are, installed into a device root: what SpringBoard
// sends them at start, and what it does when one fails.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "springboard_run.h"

namespace {

using namespace springboard_e2e;
namespace fs = std::filesystem;

void install(const e2e::TemporaryDevice& device, const std::string& tweak) {
  for (const char* suffix : {".dylib", ".plist"})
    fs::copy_file(std::string(TEST_TWEAKS_DIR) + "/" + tweak + suffix,
                  device.host("/Library/MobileSubstrate/DynamicLibraries/" + tweak + suffix));
}

TEST(Tweak, LoadsBeforeSpringBoardMakesItsObjectsAndSeesItsStart) {
  e2e::TemporaryDevice device;
  install(device, "StartUp");
  e2e::Result result = runScript(device, "extensions", Extensions::loaded);
  ASSERT_TRUE(result.exited) << "signal " << result.signal << ": " << result.err;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "StartUp\tloaded\neditdefer\tloaded\nlayoutkeeper\tloaded\n");
  EXPECT_EQ(result.err,
            "tweak: loaded, application not made yet\n"
            "MS:Warning: nil class argument for isEditing\n"
            "tweak: +[SBIconModel sharedInstance]\n"
            "tweak: -[SBIconModel init]\n"
            "tweak: -[SBIconModel loadIconState] state\n"
            "tweak: -[SpringBoard applicationDidFinishLaunching:] itself 1, shared 1, responds 1, described\n");
  EXPECT_TRUE(device.journal().empty());
}

// The tools' requests reach SpringBoard's objects as its own messages, which
// a tweak hooks; what it lets through is what SpringBoard shows.
TEST(Tweak, HooksSeeTheToolsRequestsAndDecideWhatIsShown) {
  e2e::TemporaryDevice device;
  for (std::vector<std::string> tool : {std::vector<std::string>{"iconcount", "Mail", "3"},
                                        {"badge", "Stocks", "New"},
                                        {"indicator", "-s", "Airplane"},
                                        {"radio", "y"}}) {
    tool[0] = e2e::program(tool[0]);
    ASSERT_EQ(e2e::run(device, tool).status, 0) << tool[0];
  }
  std::vector<std::string> toolsLines = device.journal();
  install(device, "Quiet");
  e2e::Result result = runScript(device, "status");
  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "tweak: -[SBApplicationIcon setBadge:3] on com.apple.mobilemail\n"
            "tweak: -[SBApplicationIcon setBadge:New] on com.apple.stocks\n"
            "tweak: addStatusBarItem:Airplane\n"
            "tweak: setIsInAirplaneMode:1\n");
  EXPECT_EQ(result.out.substr(0, result.out.find("locked:")),
            "edit mode: off\nicon scroll view: at rest\nbadges: none\nstatus-bar items: none\nairplane mode: off\n");
  EXPECT_EQ(device.journal(), toolsLines);  // the messages sent add no line
}

TEST(Tweak, AFailingTweakIsReportedWithItsOwnStatus) {
  struct Case {
    const char* tweak;
    const char* script;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"RaisesInConstructor", "status", 70,
       "springboard: uncaught exception NSInternalInconsistencyException: raised in the constructor\n"},
      {"ThrowsInConstructor", "status", 70,
       "springboard: uncaught exception std::runtime_error: thrown in the constructor\n"},
      {"RaisesInHook", "edit off; edit on; status", 70,
       "springboard: uncaught exception NoEditException: edit mode is refused\n"},
      // SpringBoard goes on without it.
      {"NeedsAnUndefinedSymbol", "edit on", 0,
       "springboard: not loading NeedsAnUndefinedSymbol: undefined symbol tweakNothingDefines\n"},
  };
  for (const Case& c : cases) {
    e2e::TemporaryDevice device;
    install(device, c.tweak);
    e2e::Result result = runScript(device, c.script);
    ASSERT_TRUE(result.exited) << c.tweak << ": signal " << result.signal;
    EXPECT_EQ(result.status, c.status) << c.tweak;
    EXPECT_EQ(result.out, "") << c.tweak;
    EXPECT_EQ(result.err, c.err) << c.tweak;
  }
}

}  // namespace
