// editdefer inside the simulated SpringBoard: every row of the edit-mode
// state table, driven by scripts of springboard commands, with the extension
// loaded from the device root and, for comparison, without it.

#include <gtest/gtest.h>

#include <sstream>

#include "springboard_run.h"

namespace {

using namespace springboard_e2e;

struct Script {
  const char* name;
  const char* commands;
  std::vector<std::string> journal;  // with the extension
  const char* editMode;              // with the extension, after the script
};

// Test output names the case rather than dumping its bytes.
void PrintTo(const Script& c, std::ostream* out) { *out << c.name; }

// What SpringBoard's own implementations journal for a script when nothing
// stands between the commands and them: one line per edit or end command.
std::vector<std::string> ownJournal(const std::string& commands, std::string* editMode) {
  std::vector<std::string> lines;
  *editMode = "edit mode: off";
  std::istringstream in(commands);
  for (std::string command; std::getline(in, command, ';');) {
    command.erase(0, command.find_first_not_of(' '));
    if (command == "edit on") lines.push_back(kSetEditingOn), *editMode = "edit mode: on";
    if (command == "edit off") lines.push_back(kSetEditingOff), *editMode = "edit mode: off";
    if (command == "scroll end") lines.push_back(kEndDeceleratingIcon);
    if (command == "scroll end other") lines.push_back(kEndDeceleratingOther);
  }
  return lines;
}

class EditDefer : public testing::TestWithParam<Script> {};

TEST_P(EditDefer, WithTheExtension) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, std::string(GetParam().commands) + "; status");

  ASSERT_TRUE(result.exited) << "signal " << result.signal << "\n" << result.err;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(device.journal(), GetParam().journal);
  EXPECT_EQ(editModeLine(result.out), GetParam().editMode);
}

TEST_P(EditDefer, WithoutTheExtensionEveryRequestGoesStraightThrough) {
  e2e::TemporaryDevice device;
  e2e::Result result = runScript(device, std::string(GetParam().commands) + "; status", Extensions::none);

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  std::string editMode;
  EXPECT_EQ(device.journal(), ownJournal(GetParam().commands, &editMode));
  EXPECT_EQ(editModeLine(result.out), editMode);
}

const std::string& on = kSetEditingOn;
const std::string& off = kSetEditingOff;
const std::string& end = kEndDeceleratingIcon;
const std::string& endOther = kEndDeceleratingOther;

// Each script first brings the flag to the row's state, then sends the row's
// event; a final "scroll end" where needed shows whether an exit is pending.
INSTANTIATE_TEST_SUITE_P(
    Rows, EditDefer,
    testing::Values(
        // idle, setIsEditing: YES: forwarded, still idle.
        Script{"IdleEditOn", "edit on; scroll decelerating; edit on; scroll end", {on, on, end}, "edit mode: on"},
        // idle, setIsEditing: NO while not editing: forwarded, even while decelerating.
        Script{"IdleEditOffWhileNotEditing", "scroll decelerating; edit off; scroll end", {off, end}, "edit mode: off"},
        // idle, setIsEditing: NO while editing at rest: forwarded, edit mode left at once.
        Script{"IdleEditOffAtRest", "edit on; edit off; scroll end", {on, off, end}, "edit mode: off"},
        // idle, setIsEditing: NO while editing and decelerating: held back.
        Script{"IdleEditOffWhileDecelerating", "edit on; scroll decelerating; edit off", {on}, "edit mode: on"},
        // idle, end of deceleration: only the controller's own handling.
        Script{"IdleEnd", "edit on; scroll end", {on, end}, "edit mode: on"},
        // pending, setIsEditing: YES: forwarded, and the exit stays pending.
        Script{"PendingEditOn",
               "edit on; scroll decelerating; edit off; edit on; scroll rest; scroll end",
               {on, on, end, off},
               "edit mode: off"},
        // pending, setIsEditing: NO again while decelerating: nothing more happens.
        Script{"PendingEditOffWhileDecelerating",
               "edit on; scroll decelerating; edit off; edit off; edit off",
               {on},
               "edit mode: on"},
        Script{"PendingRepeatedExitIsSentOnce",
               "edit on; scroll decelerating; edit off; edit off; scroll rest; scroll end; scroll end",
               {on, end, off, end},
               "edit mode: off"},
        // pending, setIsEditing: NO at rest: forwarded, and the flag stays set.
        Script{"PendingEditOffAtRest",
               "edit on; scroll decelerating; edit off; scroll rest; edit off; scroll end",
               {on, off, end, off},
               "edit mode: off"},
        // pending, setIsEditing: NO while not editing: forwarded, the flag stays set.
        Script{"PendingEditOffWhileNotEditing",
               "edit on; scroll decelerating; edit off; scroll rest; edit off; edit off; scroll end; scroll end",
               {on, off, off, end, off, end},
               "edit mode: off"},
        // pending, end of deceleration: own handling first, then the exit, then idle.
        Script{"PendingEnd",
               "edit on; scroll decelerating; edit off; scroll rest; scroll end; scroll end",
               {on, end, off, end},
               "edit mode: off"},
        // Still decelerating when the exit is sent again: held back once more,
        // then the flag is cleared, so no exit is pending.
        Script{"PendingEndWhileStillDecelerating",
               "edit on; scroll decelerating; edit off; scroll end; scroll rest; scroll end",
               {on, end, end},
               "edit mode: on"},
        // Any scroll view that reports to the controller sends the held-back exit.
        Script{"PendingEndOfAnotherScrollView",
               "edit on; scroll decelerating; edit off; scroll rest; scroll end other",
               {on, endOther, off},
               "edit mode: off"}),
    [](const testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

TEST(EditDeferSession, EditModeStaysOnUntilTheDecelerationEnds) {
  // The same as a user sees it, one command at a time.
  e2e::TemporaryDevice device;
  e2e::Session session(device, {e2e::program("springboard")});
  session.send("edit on");
  session.send("scroll decelerating");
  session.send("edit off");
  session.send("status");
  EXPECT_EQ(editModeLine(session.readUntil("airplane mode: off\n")), "edit mode: on");
  EXPECT_EQ(device.journal(), std::vector<std::string>{on});

  session.send("scroll rest");
  session.send("scroll end");
  session.send("status");
  EXPECT_EQ(editModeLine(session.readUntil("airplane mode: off\n")), "edit mode: off");
  e2e::Result result = session.finish();

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(device.journal(), (std::vector<std::string>{on, end, off}));
}

}  // namespace
