#include "springboard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "applications.h"
#include "platform/message.h"
#include "platform/object_bridge.h"
#include "platform/plist/plist.h"
#include "sim/common/clock.h"
#include "sim/common/journal.h"
#include "sim/screen/screen.h"
#include "sim/screen/screenshot_command.h"

namespace springboard {

namespace {

using platform::send;
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

// The owner status shows for an item no tool asked for: SpringBoard's own.
constexpr const char* kSpringBoardOwner = "com.apple.springboard";

}  // namespace

SpringBoard::SpringBoard(std::vector<substrate::Extension> extensions) : extensions_(std::move(extensions)) {
  platform::AutoreleasePool pool;
  objects_ = Objects::make();
  itemOwners_ = deliverToolRequests(objects_);
  send(objects_.application, "applicationDidFinishLaunching:", objects_.application);
}

bool SpringBoard::run(std::string_view line, std::FILE* out) {
  std::vector<std::string_view> command = words(line);
  if (command.empty()) return true;
  // What a command leaves autoreleased goes when it is done, as at the end
  // of one turn of SpringBoard's run loop.
  platform::AutoreleasePool pool;
  // On the lock screen there are no icons to launch, page through or edit.
  if ((command[0] == "launch" || command[0] == "page" || command[0] == "edit") &&
      send<BOOL>(objects_.away, "isLocked")) {
    std::fprintf(stderr, "springboard: %.*s: the device is locked\n", int(command[0].size()), command[0].data());
    return false;
  }
  return runCommand(command, line, out);
}

bool SpringBoard::runCommand(const std::vector<std::string_view>& command, std::string_view line, std::FILE* out) {
  const Objects& o = objects_;
  // The hardware buttons' event: none in the simulation.
  void* const noEvent = nullptr;
  if (is(command, {"icon-state"})) printIconState(out);
  else if (is(command, {"delete-icon-state"})) send(o.model, "deleteIconState");
  else if (is(command, {"note-icon-state-changed"})) send(o.model, "noteIconStateChangedExternally");
  else if (is(command, {"edit", "on"})) send(o.iconController, "setIsEditing:", BOOL(YES));
  else if (is(command, {"edit", "off"})) send(o.iconController, "setIsEditing:", BOOL(NO));
  else if (is(command, {"scroll", "decelerating"})) send(o.iconScrollView, "setDecelerating:", BOOL(YES));
  else if (is(command, {"scroll", "rest"})) send(o.iconScrollView, "setDecelerating:", BOOL(NO));
  else if (is(command, {"scroll", "end"})) send(o.iconController, "scrollViewDidEndDecelerating:", o.iconScrollView);
  else if (is(command, {"scroll", "end", "other"}))
    send(o.iconController, "scrollViewDidEndDecelerating:", o.otherScrollView);
  else if (is(command, {"home"})) {
    send(o.application, "menuButtonDown:", noEvent);
    send(o.application, "menuButtonUp:", noEvent);
  } else if (is(command, {"lock"})) send(o.away, "lock");
  else if (is(command, {"unlock"})) send(o.away, "unlockWithSound:", BOOL(NO));
  else if (command[0] == "launch" && command.size() == 2) return launch(command[1]);
  else if (command[0] == "page" && command.size() == 2) return showPage(command[1]);
  else if (is(command, {"status"})) printStatus(out);
  else if (is(command, {"extensions"})) printExtensions(out);
  else if (command[0] == "mark") sim::journal("mark", {markText(line)});
  else if (command[0] == "screenshot") return screenshot({command.begin() + 1, command.end()});
  else {
    std::string text(line.substr(line.find_first_not_of(kBlanks)));
    text.erase(text.find_last_not_of(kBlanks) + 1);
    std::fprintf(stderr, "springboard: unknown command: %s\n", text.c_str());
    return false;
  }
  return true;
}

bool SpringBoard::launch(std::string_view identifier) {
  platform::Object name = platform::stringObject(identifier);
  id application = send<id>(objects_.applications, "applicationWithDisplayIdentifier:", name.get());
  if (application == nil) {
    std::fprintf(stderr, "springboard: launch: no application %.*s\n", int(identifier.size()), identifier.data());
    return false;
  }
  send(objects_.ui, "activateApplicationAnimated:", application);
  return true;
}

bool SpringBoard::showPage(std::string_view word) {
  std::optional<Value> state = platform::valueOf(send<id>(objects_.model, "_iconState"));
  std::optional<std::size_t> page = screen::existingPage("page", word, state ? &*state : nullptr);
  if (!page) return false;
  send(objects_.iconController, "scrollToIconListAtIndex:animate:", static_cast<int>(*page - 1), BOOL(NO));
  return true;
}

bool SpringBoard::screenshot(const std::vector<std::string_view>& arguments) {
  std::optional<Value> state = platform::valueOf(send<id>(objects_.model, "_iconState"));
  Shown shown = shownBy(objects_);
  screen::DeviceView view;
  view.applications = applicationCatalog;
  view.iconState = state ? &*state : nullptr;
  view.editing = shown.editing;
  view.locked = shown.locked;
  view.frontApplication = shown.frontApplication;
  view.currentPage = static_cast<std::size_t>(std::max(shown.page, 0)) + 1;
  // The picture draws no badge that reads "0", whatever its kind: the text "0", NO and 0.0 too.
  for (const auto& [identifier, badge] : shown.badges)
    if (std::optional<std::string> text = screen::shownBadge(badge); text && *text != "0")
      view.badges.emplace(identifier, std::move(*text));
  view.statusBarItems = shown.statusBarItems;
  view.airplaneMode = shown.airplaneMode;
  view.now = sim::deviceTime();
  return screen::screenshotCommand(arguments, view);
}

void SpringBoard::printExtensions(std::FILE* out) {
  for (const substrate::Extension& extension : extensions_)
    std::fprintf(out, "%s\t%s\n", extension.name.c_str(), extension.outcome.c_str());
}

void SpringBoard::printIconState(std::FILE* out) {
  std::optional<Value> state = platform::valueOf(send<id>(objects_.model, "_iconState"));
  if (!state) {
    std::fputs("no icon state\n", out);
    return;
  }
  std::fprintf(out, "%s\n", platform::plist::description(*state).c_str());
}

void SpringBoard::printStatus(std::FILE* out) {
  Shown shown = shownBy(objects_);
  std::fprintf(out, "edit mode: %s\n", shown.editing ? "on" : "off");
  std::fprintf(out, "icon scroll view: %s\n", shown.decelerating ? "decelerating" : "at rest");

  std::fputs(shown.badges.empty() ? "badges: none\n" : "badges:\n", out);
  for (const auto& [identifier, badge] : shown.badges)
    std::fprintf(out, "  %s: %s\n", identifier.c_str(), badgeText(badge).c_str());

  std::vector<std::string> items = shown.statusBarItems;
  std::sort(items.begin(), items.end());
  std::fputs(items.empty() ? "status-bar items: none\n" : "status-bar items:\n", out);
  for (const std::string& item : items) {
    auto owner = itemOwners_.find(item);
    std::fprintf(out, "  %s (%s)\n", item.c_str(),
                 owner != itemOwners_.end() ? owner->second.c_str() : kSpringBoardOwner);
  }

  std::fprintf(out, "airplane mode: %s\n", shown.airplaneMode ? "on" : "off");
  std::fprintf(out, "locked: %s\n", shown.locked ? "yes" : "no");
  std::fprintf(out, "front application: %s\n",
               shown.frontApplication.empty() ? "none" : shown.frontApplication.c_str());
  std::fprintf(out, "page: %d\n", shown.page + 1);
}

}  // namespace springboard
