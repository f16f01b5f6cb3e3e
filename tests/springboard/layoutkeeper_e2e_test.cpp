// layoutkeeper inside the simulated SpringBoard: delete-icon-state with the
// extension loaded from the device root, and the same without it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <utility>

#include "springboard_run.h"
#include "tests/support/plist_literals.h"

namespace {

using namespace springboard_e2e;
using platform::plist::Array;
using platform::plist::Data;
using platform::plist::Dictionary;
using platform::plist::Value;

using plist_literals::dictionary;
using plist_literals::list;

Value folder(Value lists) { return dictionary({{"displayName", "Games"}, {"iconLists", std::move(lists)}}); }

Value state(Value buttonBar, Value iconLists) {
  return dictionary({{"buttonBar", std::move(buttonBar)}, {"iconLists", std::move(iconLists)}});
}

std::string printed(const Value& value) { return platform::plist::description(value) + "\n"; }

// A state with duplicates: the extension rewrites the file with the pruned
// state, SpringBoard reloads it, and nothing is deleted.
struct Pruned {
  const char* name;
  Value before;
  Value after;
};

// Test output names the case rather than dumping its bytes.
void PrintTo(const Pruned& c, std::ostream* out) { *out << c.name; }

class LayoutKeeperPrunes : public testing::TestWithParam<Pruned> {};

TEST_P(LayoutKeeperPrunes, RewritesTheFileAndNotifiesInsteadOfDeleting) {
  e2e::TemporaryDevice device;
  writeIconState(device, GetParam().before);

  e2e::Result result = runScript(device, "delete-icon-state; icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal << "\n" << result.err;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  // What SpringBoard shows is what it reloaded from the rewritten file.
  EXPECT_EQ(result.out, printed(GetParam().after));
  EXPECT_EQ(device.journal(), std::vector<std::string>{kNoteIconStateChanged});
  std::optional<Value> file = readIconState(device);
  ASSERT_TRUE(file) << "the icon state file is gone or unreadable";
  EXPECT_EQ(*file, GetParam().after) << platform::plist::description(*file);
}

TEST_P(LayoutKeeperPrunes, WithoutTheExtensionSpringBoardDeletes) {
  e2e::TemporaryDevice device;
  writeIconState(device, GetParam().before);

  e2e::Result result = runScript(device, "delete-icon-state; icon-state", Extensions::none);

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "no icon state\n");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kDeleteIconState});
  EXPECT_FALSE(iconStateExists(device));
}

INSTANTIATE_TEST_SUITE_P(
    States, LayoutKeeperPrunes,
    testing::Values(
        Pruned{"TheWorkedExample",
               state(list("A", "B"), list(list("D", "A"), list("B", folder(list(list("D", "E"))), "F"))),
               state(list("A", "B"), list(list("D"), list(folder(list(list("E"))), "F")))},
        Pruned{"TheButtonBarCopyStays", state(list("A", "B"), list(list("C", "B"))),
               state(list("A", "B"), list(list("C")))},
        Pruned{"TheSecondOnAPageGoes", state(list(), list(list("A", "B", "A"))), state(list(), list(list("A", "B")))},
        Pruned{"TheContainerCopyStaysWhenItComesFirst", state(list(), list(list(folder(list(list("A"))), "A"))),
               state(list(), list(list(folder(list(list("A"))))))},
        Pruned{"EqualContainersBothStay",
               state(list(), list(list(folder(list(list("A", "B"))), folder(list(list("A", "B")))))),
               state(list(), list(list(folder(list(list("A", "B"))), folder(list(list())))))},
        Pruned{"EmptiedPagesAndContainersStay", state(list("A"), list(list("A"), list(folder(list(list("A")))))),
               state(list("A"), list(list(), list(folder(list(list())))))},
        Pruned{"AContainerWithoutPagesGetsAnEmptyList",
               state(list("A"), list(list(dictionary({{"displayName", "Empty"}}), "A"))),
               state(list("A"), list(list(dictionary({{"displayName", "Empty"}, {"iconLists", Array{}}}))))},
        Pruned{"OtherKeysAreWrittenBackUnchanged",
               dictionary({{"iconListsVersion", 2},
                           {"buttonBar", list("A")},
                           {"iconLists", list(list(dictionary({{"displayName", "Games"},
                                                               {"listType", "folder"},
                                                               {"iconLists", list(list("A", "B"))}})))},
                           {"lastUpdate", Data{0, 1, 2}}}),
               dictionary({{"iconListsVersion", 2},
                           {"buttonBar", list("A")},
                           {"iconLists", list(list(dictionary({{"displayName", "Games"},
                                                               {"listType", "folder"},
                                                               {"iconLists", list(list("B"))}})))},
                           {"lastUpdate", Data{0, 1, 2}}})},
        Pruned{"PlainEntriesOfAnyKindCount", state(list(7, list("x")), list(list(7, "7", list("x"), true, true))),
               state(list(7, list("x")), list(list("7", true)))},
        Pruned{"WithoutAButtonBarOnlyThePagesArePruned", dictionary({{"iconLists", list(list("A"), list("A", "B"))}}),
               dictionary({{"iconLists", list(list("A"), list("B"))}})},
        Pruned{"WithoutPagesTheButtonBarIsPruned", dictionary({{"buttonBar", list("A", "B", "A")}}),
               dictionary({{"buttonBar", list("A", "B")}})},
        // Names beyond the basic plane, as real folders have, come back as they were.
        Pruned{"FolderNamesKeepTheirEmoji",
               state(list("A"), list(list(dictionary({{"displayName", "JW\xf0\x9f\x91\x94\xf0\x9f\x92\xbc"},
                                                      {"iconLists", list(list("A", "\xf0\x9f\x8e\xb5"))}})))),
               state(list("A"), list(list(dictionary({{"displayName", "JW\xf0\x9f\x91\x94\xf0\x9f\x92\xbc"},
                                                      {"iconLists", list(list("\xf0\x9f\x8e\xb5"))}}))))}),
    [](const testing::TestParamInfo<Pruned>& info) { return std::string(info.param.name); });

// States the extension leaves to SpringBoard: nothing to prune, or a shape
// the walk does not know. SpringBoard's own deletion runs, untouched.
struct Forwarded {
  const char* name;
  Value state;
};

// Test output names the case rather than dumping its bytes.
void PrintTo(const Forwarded& c, std::ostream* out) { *out << c.name; }

class LayoutKeeperForwards : public testing::TestWithParam<Forwarded> {};

TEST_P(LayoutKeeperForwards, LetsSpringBoardDelete) {
  e2e::TemporaryDevice device;
  writeIconState(device, GetParam().state);

  e2e::Result result = runScript(device, "delete-icon-state; icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal << "\n" << result.err;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "no icon state\n");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kDeleteIconState});
  EXPECT_FALSE(iconStateExists(device));
}

INSTANTIATE_TEST_SUITE_P(
    States, LayoutKeeperForwards,
    testing::Values(Forwarded{"NoDuplicates", state(list("A", "B"), list(list("C", folder(list(list("D")))), list()))},
                    Forwarded{"NoButtonBarOrPages", dictionary({{"iconListsVersion", 2}})},
                    Forwarded{"APageThatIsNotAList", state(list("A"), list(list("A"), "page"))},
                    Forwarded{"IconListsThatIsNotAList", state(list("A", "A"), "pages")},
                    Forwarded{"AButtonBarThatIsNotAList", state(dictionary({{"A", "A"}}), list(list("A", "A")))},
                    Forwarded{"AContainerWhosePagesAreNotAList",
                              state(list("A"), list(list("A", dictionary({{"iconLists", "A"}}))))},
                    Forwarded{"AContainerWhosePagesAreNotLists", state(list("A"), list(list("A", folder(list("A")))))}),
    [](const testing::TestParamInfo<Forwarded>& info) { return std::string(info.param.name); });

TEST(LayoutKeeper, WithoutAnIconStateSpringBoardDeletes) {
  e2e::TemporaryDevice device;
  std::filesystem::remove(device.host(kIconStatePath));

  e2e::Result result = runScript(device, "icon-state; delete-icon-state; icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "no icon state\nno icon state\n");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kDeleteIconState});
}

TEST(LayoutKeeper, AnIconStateThatIsNoDictionaryIsNoState) {
  e2e::TemporaryDevice device;
  writeIconState(device, list("A", "A"));

  e2e::Result result = runScript(device, "icon-state; delete-icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, std::string("springboard: ignoring ") + kIconStatePath + ": not a dictionary\n");
  EXPECT_EQ(result.out, "no icon state\n");
  EXPECT_EQ(device.journal(), std::vector<std::string>{kDeleteIconState});
  EXPECT_FALSE(iconStateExists(device));
}

// A state nested 10,000 deep once became a rewritten file of hundreds of
// megabytes; a FIFO once hung SpringBoard at start.
TEST(LayoutKeeper, AnIconStateTheReaderRefusesIsNoStateAndSaysWhy) {
  std::string deep = "<plist><dict><key>iconLists</key>";
  for (int i = 0; i < 10000; ++i) deep += "<array>";
  struct Case {
    std::function<void(const std::filesystem::path&)> make;
    std::string reason;
  };
  for (const Case& c :
       {Case{[&](const std::filesystem::path& p) { std::ofstream(p) << deep; }, "nested deeper than 512 levels"},
        Case{[](const std::filesystem::path& p) { mkfifo(p.c_str(), 0600); }, "not a regular file"}}) {
    e2e::TemporaryDevice device;
    std::filesystem::remove(device.host(kIconStatePath));
    c.make(device.host(kIconStatePath));

    e2e::Result result = runScript(device, "icon-state");

    ASSERT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.err, std::string("springboard: ignoring ") + kIconStatePath + ": " + c.reason + "\n");
    EXPECT_EQ(result.out, "no icon state\n");
  }
}

TEST(LayoutKeeper, TheSampleDevicesDuplicateMailIconIsRemoved) {
  e2e::TemporaryDevice device;
  std::optional<Value> before = readIconState(device);
  ASSERT_TRUE(before);

  e2e::Result result = runScript(device, "delete-icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(device.journal(), std::vector<std::string>{kNoteIconStateChanged});
  std::optional<Value> after = readIconState(device);
  ASSERT_TRUE(after);
  // Exactly one entry fewer, and the bar keeps its Mail icon.
  auto count = [](const Value& state, const std::string& id) {
    std::size_t found = 0;
    std::function<void(const Value&)> visit = [&](const Value& value) {
      if (const Array* array = value.get<Array>())
        for (const Value& element : *array) visit(element);
      if (const Dictionary* dictionary = value.get<Dictionary>())
        for (const auto& entry : dictionary->entries()) visit(entry.value);
      if (const std::string* text = value.get<std::string>()) found += *text == id;
    };
    visit(state);
    return found;
  };
  EXPECT_EQ(count(*before, "com.apple.mobilemail"), 2u);
  EXPECT_EQ(count(*after, "com.apple.mobilemail"), 1u);
  const Array* bar = after->get<Dictionary>()->find("buttonBar")->get<Array>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(std::count(bar->begin(), bar->end(), Value("com.apple.mobilemail")), 1);
}

TEST(LayoutKeeper, ThePrunedStateIsDeletedByTheNextRequest) {
  // Once the file is clean, a second request finds nothing to prune: the
  // flag was cleared and SpringBoard deletes.
  e2e::TemporaryDevice device;
  writeIconState(device, state(list("A"), list(list("A", "B"))));

  e2e::Result result = runScript(device, "delete-icon-state; delete-icon-state; icon-state");

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "no icon state\n");
  EXPECT_EQ(device.journal(), (std::vector<std::string>{kNoteIconStateChanged, kDeleteIconState}));
  EXPECT_FALSE(iconStateExists(device));
}

TEST(LayoutKeeper, AStateOfUnknownShapeLeavesNoFindingBehind) {
  // The walk drops A before it meets the bad page; the request is left to
  // SpringBoard, and the next one over a clean state must not be taken for
  // one with duplicates.
  e2e::TemporaryDevice device;
  writeIconState(device, state(list("A"), list(list("A"), "page")));
  e2e::Session session(device, {e2e::program("springboard")});
  session.send("delete-icon-state");
  session.send("icon-state");
  EXPECT_EQ(session.readUntil("no icon state\n"), "no icon state\n");

  writeIconState(device, state(list("A"), list(list("B"))));
  session.send("note-icon-state-changed");
  session.send("delete-icon-state");
  session.send("icon-state");
  e2e::Result result = session.finish();

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "no icon state\n");
  EXPECT_EQ(device.journal(), (std::vector<std::string>{kDeleteIconState, kNoteIconStateChanged, kDeleteIconState}));
  EXPECT_FALSE(iconStateExists(device));
}

TEST(LayoutKeeper, WhenTheRewriteFailsSpringBoardDeletesInstead) {
  e2e::TemporaryDevice device;
  Value duplicated = state(list("A"), list(list("A", "B")));
  writeIconState(device, duplicated);
  std::filesystem::path file = device.host(kIconStatePath);
  auto names = [&] {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
      found.insert(entry.path().filename().string());
    return found;
  };
  std::set<std::string> before = names();
  e2e::Session session(device, {e2e::program("springboard")});
  session.send("icon-state");
  ASSERT_EQ(session.readUntil("}\n"), printed(duplicated));

  // A non-empty folder where the file was: the write's final rename fails,
  // and so does SpringBoard's removal of the file.
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  std::ofstream(file / "keep") << "x";

  session.send("delete-icon-state");
  session.send("icon-state");
  e2e::Result result = session.finish();

  ASSERT_TRUE(result.exited) << "signal " << result.signal;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "no icon state\n");
  // Not notified of a change that did not happen; SpringBoard's own deletion
  // ran and dropped the state, and reported the folder it could not remove.
  EXPECT_EQ(device.journal(), std::vector<std::string>{kDeleteIconState});
  EXPECT_EQ(result.err.rfind(std::string("springboard: cannot remove ") + kIconStatePath + ": ", 0), 0u) << result.err;
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_TRUE(std::filesystem::exists(file / "keep"));
  // No half-written file is left beside it.
  EXPECT_EQ(names(), before);
}

}  // namespace
