#include "springboard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "icon_model.h"
#include "platform/message.h"
#include "platform/object_bridge.h"
#include "platform/plist.h"
#include "runtime.h"
#include "sim/common/clock.h"
#include "sim/common/springboard_state.h"
#include "sim/screen/screenshot_command.h"

namespace springboard {

namespace {

using platform::send;
using platform::plist::Dictionary;
using platform::plist::Value;

constexpr const char* kBlanks = " \t\r\n";

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> found;
  for (std::size_t at = line.find_first_not_of(kBlanks); at != std::string_view::npos;
       at = line.find_first_not_of(kBlanks, at)) {
    std::size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
    found.push_back(line.substr(at, end - at));
    at = end;
  }
  return found;
}

bool is(const std::vector<std::string_view>& words, std::initializer_list<std::string_view> command) {
  return std::equal(words.begin(), words.end(), command.begin(), command.end());
}

// A badge as SpringBoard shows it: a number plainly, text in quotes.
std::string badgeText(const Value& value) {
  if (const std::string* text = value.get<std::string>()) return "\"" + *text + "\"";
  return platform::plist::description(value);
}

// The entries of a state dictionary, sorted by key; none when it is missing.
std::vector<const platform::plist::DictionaryEntry*> sortedEntries(const Dictionary& state, const char* key) {
  const Dictionary* dictionary = state.get<Dictionary>(key);
  return dictionary ? dictionary->sortedEntries() : std::vector<const platform::plist::DictionaryEntry*>{};
}

}  // namespace

SpringBoard::SpringBoard() {
  Class root = ClassBuilder::root("SBObject").done();
  defineIconControllerClasses(root);
  model_ = newIconModel();
  icons_ = newIconController();
}

SpringBoard::~SpringBoard() {
  disposeIconController(icons_);
  disposeIconModel(model_);
}

bool SpringBoard::run(std::string_view line, std::FILE* out) {
  std::vector<std::string_view> command = words(line);
  if (command.empty()) return true;
  // What a command leaves autoreleased goes when it is done, as at the end
  // of one turn of SpringBoard's run loop.
  platform::AutoreleasePool pool;
  if (is(command, {"icon-state"})) printIconState(out);
  else if (is(command, {"delete-icon-state"})) send(model_, "deleteIconState");
  else if (is(command, {"note-icon-state-changed"})) send(model_, "noteIconStateChangedExternally");
  else if (is(command, {"edit", "on"})) send(icons_.controller, "setIsEditing:", BOOL(YES));
  else if (is(command, {"edit", "off"})) send(icons_.controller, "setIsEditing:", BOOL(NO));
  else if (is(command, {"scroll", "decelerating"})) send(icons_.iconScrollView, "setDecelerating:", BOOL(YES));
  else if (is(command, {"scroll", "rest"})) send(icons_.iconScrollView, "setDecelerating:", BOOL(NO));
  else if (is(command, {"scroll", "end"})) send(icons_.controller, "scrollViewDidEndDecelerating:", icons_.iconScrollView);
  else if (is(command, {"scroll", "end", "other"}))
    send(icons_.controller, "scrollViewDidEndDecelerating:", icons_.otherScrollView);
  else if (is(command, {"status"})) printStatus(out);
  else if (command[0] == "screenshot") {
    std::optional<Value> state = platform::valueOf(send<id>(model_, "_iconState"));
    Dictionary visible = sim::readSpringBoardState();
    screen::DeviceView view;
    view.iconState = state ? &*state : nullptr;
    view.editing = send<BOOL>(icons_.controller, "isEditing");
    view.badges = screen::badgesOf(visible);
    view.statusBarItems = screen::statusBarItemsOf(visible);
    view.airplaneMode = visible.isTrue(sim::kAirplaneModeKey);
    view.now = sim::deviceTime();
    return screen::screenshotCommand({command.begin() + 1, command.end()}, view);
  }
  else {
    std::string text(line.substr(line.find_first_not_of(kBlanks)));
    text.erase(text.find_last_not_of(kBlanks) + 1);
    std::fprintf(stderr, "springboard: unknown command: %s\n", text.c_str());
    return false;
  }
  return true;
}

void SpringBoard::printIconState(std::FILE* out) {
  std::optional<Value> state = platform::valueOf(send<id>(model_, "_iconState"));
  if (!state) {
    std::fputs("no icon state\n", out);
    return;
  }
  std::fprintf(out, "%s\n", platform::plist::description(*state).c_str());
}

void SpringBoard::printStatus(std::FILE* out) {
  Dictionary state = sim::readSpringBoardState();
  std::fprintf(out, "edit mode: %s\n", send<BOOL>(icons_.controller, "isEditing") ? "on" : "off");
  std::fprintf(out, "icon scroll view: %s\n",
               send<BOOL>(icons_.iconScrollView, "isDecelerating") ? "decelerating" : "at rest");

  auto badges = sortedEntries(state, sim::kBadgesKey);
  std::fputs(badges.empty() ? "badges: none\n" : "badges:\n", out);
  for (const auto* badge : badges) std::fprintf(out, "  %s: %s\n", badge->key.c_str(), badgeText(badge->value).c_str());

  auto items = sortedEntries(state, sim::kStatusBarItemsKey);
  std::fputs(items.empty() ? "status-bar items: none\n" : "status-bar items:\n", out);
  for (const auto* item : items)
    std::fprintf(out, "  %s (%s)\n", item->key.c_str(), platform::plist::description(item->value).c_str());

  std::fprintf(out, "airplane mode: %s\n", state.isTrue(sim::kAirplaneModeKey) ? "on" : "off");
}

}  // namespace springboard
