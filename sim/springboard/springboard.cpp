#include "springboard.h"

#include <objc/runtime.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/message.h"
#include "platform/object_bridge.h"
#include "platform/plist.h"
#include "sim/common/clock.h"
#include "sim/common/journal.h"
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

// The text of a mark command: the line after "mark" and the blank after it,
// its own blanks kept.
std::string markText(std::string_view line) {
  line.remove_prefix(line.find("mark") + 4);
  if (!line.empty() && std::string_view(kBlanks).find(line.front()) != std::string_view::npos) line.remove_prefix(1);
  return std::string(line);
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

// A class as a receiver of messages.
id classNamed(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

// The object variable name of object; nil when its class has none.
id objectVariable(id object, const char* name) {
  Ivar variable = class_getInstanceVariable(object_getClass(object), name);
  return variable ? object_getIvar(object, variable) : nil;
}

}  // namespace

SpringBoard::SpringBoard(std::vector<substrate::Extension> extensions) : extensions_(std::move(extensions)) {
  platform::AutoreleasePool pool;
  application_ = send<id>(send<id>(classNamed("SpringBoard"), "alloc"), "init");
  model_ = send<id>(classNamed("SBIconModel"), "sharedInstance");
  iconController_ = send<id>(classNamed("SBIconController"), "sharedInstance");
  iconScrollView_ = objectVariable(iconController_, "_scrollView");
  otherScrollView_ = send<id>(send<id>(classNamed("UIScrollView"), "alloc"), "init");
  send(application_, "applicationDidFinishLaunching:", application_);
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
  else if (is(command, {"edit", "on"})) send(iconController_, "setIsEditing:", BOOL(YES));
  else if (is(command, {"edit", "off"})) send(iconController_, "setIsEditing:", BOOL(NO));
  else if (is(command, {"scroll", "decelerating"})) send(iconScrollView_, "setDecelerating:", BOOL(YES));
  else if (is(command, {"scroll", "rest"})) send(iconScrollView_, "setDecelerating:", BOOL(NO));
  else if (is(command, {"scroll", "end"})) send(iconController_, "scrollViewDidEndDecelerating:", iconScrollView_);
  else if (is(command, {"scroll", "end", "other"}))
    send(iconController_, "scrollViewDidEndDecelerating:", otherScrollView_);
  else if (is(command, {"status"})) printStatus(out);
  else if (is(command, {"extensions"})) printExtensions(out);
  else if (command[0] == "mark") sim::journal("mark", {markText(line)});
  else if (command[0] == "screenshot") {
    std::optional<Value> state = platform::valueOf(send<id>(model_, "_iconState"));
    Dictionary visible = sim::readSpringBoardState();
    screen::DeviceView view;
    view.iconState = state ? &*state : nullptr;
    view.editing = send<BOOL>(iconController_, "isEditing");
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

void SpringBoard::printExtensions(std::FILE* out) {
  for (const substrate::Extension& extension : extensions_)
    std::fprintf(out, "%s\t%s\n", extension.name.c_str(), extension.outcome.c_str());
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
  std::fprintf(out, "edit mode: %s\n", send<BOOL>(iconController_, "isEditing") ? "on" : "off");
  std::fprintf(out, "icon scroll view: %s\n",
               send<BOOL>(iconScrollView_, "isDecelerating") ? "decelerating" : "at rest");

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
