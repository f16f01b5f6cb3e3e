// The simulated SpringBoard as a program: options, commands, output, exit
// statuses, and the loading of extensions from the device root.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "springboard_run.h"

namespace {

using namespace springboard_e2e;
namespace fs = std::filesystem;
using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

const std::string kExtensions = "/Library/MobileSubstrate/DynamicLibraries/";

Value pagesWithOneDuplicate() {
  Dictionary state;
  state.set("buttonBar", Array{"A"});
  state.set("iconLists", Array{Value(Array{"A", "B"})});
  return state;
}

TEST(SpringBoard, HelpPrintsTheUsageAndSucceeds) {
  e2e::TemporaryDevice device;
  e2e::Result result = e2e::run(device, {e2e::program("springboard"), "--help"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.rfind("usage: " + e2e::program("springboard") + " [--no-extensions] [-c", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("\n  screenshot FILE.png [PAGE]\n"), std::string::npos);
  EXPECT_NE(result.out.find("Exit status: 0 when every command was known and worked, 1 when one or more\nwere not, 2 "
                            "for bad usage, 70 for an exception no code caught.\n"),
            std::string::npos);
  EXPECT_TRUE(device.journal().empty());
}

TEST(SpringBoard, BadUsageExitsWithTwo) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--bogus"}, "bad option --bogus"},
      {{"-x"}, "bad option -x"},
      {{"-c"}, "bad option -c"},
      {{"status"}, "unexpected argument status"},
  };
  for (const Case& c : cases) {
    e2e::TemporaryDevice device;
    std::vector<std::string> argv{e2e::program("springboard")};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    e2e::Result result = e2e::run(device, argv);
    ASSERT_TRUE(result.exited) << c.message;
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.out, "") << c.message;
    EXPECT_EQ(result.err.rfind(e2e::program("springboard") + ": " + c.message + "\nusage: ", 0), 0u) << result.err;
    EXPECT_TRUE(device.journal().empty()) << c.message;
  }
}

TEST(SpringBoard, AnUnknownCommandIsReportedAndTheRestStillRuns) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, "edit on;  fly away ;edit maybe; edit off", Extensions::none);
  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "springboard: unknown command: fly away\nspringboard: unknown command: edit maybe\n");
  EXPECT_EQ(device.journal(), (std::vector<std::string>{kSetEditingOn, kSetEditingOff}));
}

TEST(SpringBoard, EmptyCommandsAndBlankLinesAreNoCommands) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, ";; edit on ;", Extensions::none);
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kSetEditingOn});

  e2e::TemporaryDevice fromInput;
  e2e::Result lines = e2e::run(fromInput, {e2e::program("springboard"), "--no-extensions"}, "\n  \nedit on\n\n");
  ASSERT_TRUE(lines.exited);
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.err, "");
  EXPECT_EQ(fromInput.journal(), std::vector<std::string>{kSetEditingOn});
}

TEST(SpringBoard, CommandsComeFromStandardInputLineByLine) {
  e2e::TemporaryDevice device;
  e2e::Result result =
      e2e::run(device, {e2e::program("springboard"), "--no-extensions"}, "edit on\nscroll end other\nnonsense\nstatus");
  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "springboard: unknown command: nonsense\n");
  EXPECT_EQ(editModeLine(result.out), "edit mode: on");
  EXPECT_EQ(device.journal(), (std::vector<std::string>{kSetEditingOn, kEndDeceleratingOther}));
}

TEST(SpringBoard, StatusShowsTheVisibleState) {
  e2e::TemporaryDevice device;
  Dictionary badges;
  badges.set("com.apple.mobilemail", 3);
  badges.set("com.apple.MobileSMS", "New");
  Dictionary items;
  items.set("Alarm", "com.example.clock");
  Dictionary visible;
  visible.set("badges", badges);
  visible.set("statusBarItems", items);
  visible.set("airplaneMode", true);
  std::ofstream(device.host("/private/var/sim/springboard.plist")) << platform::plist::toXml(visible);

  e2e::Result result = runScript(
      device, "edit on; scroll decelerating; launch com.apple.mobilesafari; page 2; lock; status", Extensions::none);

  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "edit mode: on\n"
            "icon scroll view: decelerating\n"
            "badges:\n"
            "  com.apple.MobileSMS: \"New\"\n"
            "  com.apple.mobilemail: 3\n"
            "status-bar items:\n"
            "  Alarm (com.example.clock)\n"
            "airplane mode: on\n"
            "locked: yes\n"
            "front application: com.apple.mobilesafari\n"
            "page: 2\n");
}

// Each command sends what the device sends; SpringBoard's own
// implementations journal themselves. Lock, front application and page
// belong to the run.
TEST(SpringBoard, TheButtonsTheLockAndLaunchingSendWhatTheDeviceSends) {
  const std::string down = "-[SpringBoard menuButtonDown:]\tNULL", up = "-[SpringBoard menuButtonUp:]\tNULL",
                    clicked = "-[SBUIController clickedMenuButton]";
  struct Case {
    const char* script;
    std::vector<std::string> journal;
    std::string err;
    std::string lastLines;  // of status, run after the script
  };
  const Case cases[] = {
      {"launch com.apple.mobilenotes; home",
       {"-[SBUIController activateApplicationAnimated:]\tcom.apple.mobilenotes", down, up, clicked},
       "",
       "locked: no\nfront application: none\npage: 1\n"},
      {"edit on; home",
       {kSetEditingOn, down, up, clicked, kSetEditingOff},
       "",
       "locked: no\nfront application: none\npage: 1\n"},
      {"page 3; home; home",
       {"-[SBIconController scrollToIconListAtIndex:animate:]\t2\t0", down, up, clicked,
        "-[SBIconController scrollToIconListAtIndex:animate:]\t0\t1", down, up, clicked},
       "",
       "locked: no\nfront application: none\npage: 1\n"},
      {"lock; home; launch com.apple.mobilenotes; page 2; edit on",
       {"-[SBAwayController lock]", down, up},
       "springboard: launch: the device is locked\nspringboard: page: the device is locked\n"
       "springboard: edit: the device is locked\n",
       "locked: yes\nfront application: none\npage: 1\n"},
      {"lock; unlock; launch com.example.none; page 4; page two",
       {"-[SBAwayController lock]", "-[SBAwayController unlockWithSound:]\t0"},
       "springboard: launch: no application com.example.none\n"
       "springboard: page: no page 4: the home screen has 3 pages\nspringboard: page: bad page number two\n",
       "locked: no\nfront application: none\npage: 1\n"},
  };
  for (const Case& c : cases) {
    e2e::TemporaryDevice device;
    e2e::Result result = runScript(device, std::string(c.script) + "; status", Extensions::none);
    ASSERT_TRUE(result.exited) << c.script;
    EXPECT_EQ(result.status, c.err.empty() ? 0 : 1) << c.script;
    EXPECT_EQ(result.err, c.err) << c.script;
    EXPECT_TRUE(result.out.ends_with(c.lastLines)) << c.script << ":\n" << result.out;
    EXPECT_EQ(device.journal(), c.journal) << c.script;
  }
}

TEST(SpringBoard, StatusOfAFreshDevice) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, "status");
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "edit mode: off\n"
            "icon scroll view: at rest\n"
            "badges: none\n"
            "status-bar items: none\n"
            "airplane mode: off\n"
            "locked: no\n"
            "front application: none\n"
            "page: 1\n");
  EXPECT_TRUE(device.journal().empty());
}

TEST(SpringBoard, IconStatePrintsTheModelsState) {
  e2e::TemporaryDevice device;
  Value state = pagesWithOneDuplicate();
  writeIconState(device, state);
  e2e::Result result = runScript(device, "icon-state");
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, platform::plist::description(state) + "\n");
  EXPECT_TRUE(device.journal().empty());
}

TEST(SpringBoard, ANoteOfAnExternalChangeReloadsTheFile) {
  e2e::TemporaryDevice device;
  writeIconState(device, pagesWithOneDuplicate());
  e2e::Session session(device, {e2e::program("springboard"), "--no-extensions"});
  session.send("icon-state");
  session.readUntil("}\n");
  Dictionary changed;
  changed.set("iconLists", Array{});
  writeIconState(device, changed);
  session.send("icon-state");
  session.send("note-icon-state-changed");
  session.send("icon-state");
  e2e::Result result = session.finish();

  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  // Until the note the model keeps what it loaded.
  EXPECT_EQ(result.out, platform::plist::description(pagesWithOneDuplicate()) + "\n" +
                            platform::plist::description(changed) + "\n");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kNoteIconStateChanged});
}

// The loader: extensions come from the device root the program runs in.

// What the loader did shows in -c extensions, on standard error and in what
// layoutkeeper does with a delete (a note of the change when it is loaded).
TEST(SpringBoardLoader, ExtensionsTellsWhatBecameOfEachLibrary) {
  struct Case {
    const char* name;
    std::function<void(const e2e::TemporaryDevice&)> arrange;
    std::string extensions;  // what -c extensions prints
    std::string err;
    std::string journal;  // after delete-icon-state
  };
  const std::string layoutkeeperFilter = kExtensions + "layoutkeeper.plist";
  auto writeFilter = [&](const std::string& text) {
    return [=](const e2e::TemporaryDevice& device) { std::ofstream(device.host(layoutkeeperFilter)) << text; };
  };
  const Case cases[] = {
      {"both load", [](const e2e::TemporaryDevice&) {}, "editdefer\tloaded\nlayoutkeeper\tloaded\n", "",
       kNoteIconStateChanged},
      {"filtered for another process", writeFilter("{ Filter = { Bundles = ( com.apple.mobilemail ); }; }"),
       "editdefer\tloaded\nlayoutkeeper\tfiltered out: Bundles\n", "", kDeleteIconState},
      {"a corrupt filter", writeFilter("<plist><dict>"),
       "editdefer\tloaded\nlayoutkeeper\tfailed: cannot read " + layoutkeeperFilter + ": not a property list\n",
       "springboard: not loading layoutkeeper: cannot read " + layoutkeeperFilter + ": not a property list\n",
       kDeleteIconState},
      {"no filter loads everywhere",
       [&](const e2e::TemporaryDevice& device) { fs::remove(device.host(layoutkeeperFilter)); },
       "editdefer\tloaded\nlayoutkeeper\tloaded\n", "", kNoteIconStateChanged},
      {"no library",
       [](const e2e::TemporaryDevice& device) {
         std::ofstream(device.host(kExtensions + "aaa-broken.dylib")) << std::string(100, 'x');
       },
       "aaa-broken\tfailed: " + kExtensions +
           "aaa-broken.dylib: invalid ELF header\neditdefer\tloaded\n"
           "layoutkeeper\tloaded\n",
       "springboard: not loading aaa-broken: " + kExtensions + "aaa-broken.dylib: invalid ELF header\n",
       kNoteIconStateChanged},
  };
  for (const Case& c : cases) {
    e2e::TemporaryDevice device;
    writeIconState(device, pagesWithOneDuplicate());
    c.arrange(device);
    e2e::Result result = runScript(device, "extensions; delete-icon-state");
    ASSERT_TRUE(result.exited) << c.name << ": signal " << result.signal;
    EXPECT_EQ(result.status, 0) << c.name;
    EXPECT_EQ(result.out, c.extensions) << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    EXPECT_EQ(device.journal(), std::vector<std::string>{c.journal}) << c.name;
  }
}

TEST(SpringBoardLoader, WithoutExtensionsEachLibraryIsListedAsNotLoaded) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, "extensions", Extensions::none);
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "editdefer\tnot loaded: --no-extensions\nlayoutkeeper\tnot loaded: --no-extensions\n");
  EXPECT_EQ(result.err, "");
}

}  // namespace
