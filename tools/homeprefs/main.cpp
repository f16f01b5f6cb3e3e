// homeprefs: shows, sets or removes one top-level key of SpringBoard's
// preferences, or lists them all; a change is written back for the mobile user
// and announced to SpringBoard.

#include <err.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/text.h"
#include "tools/homeprefs/command_line.h"
#include "tools/homeprefs/preferences.h"

using namespace homeprefs;
using platform::plist::Dictionary;
using platform::plist::description;

namespace {

// The most arguments a run takes after the program name: one option, its
// value and the key, since no more than one option can be used at a time.
// More is a usage error, before the file is read or an option looked at.
constexpr int kMostArguments = 3;

[[noreturn]] void listPreferences(const std::optional<Dictionary>& preferences) {
  if (!preferences) errx(0, "cannot read %s", kPreferencesPath);
  std::puts(description(*preferences).c_str());
  std::exit(0);
}

[[noreturn]] void showKey(const std::optional<Dictionary>& preferences, const char* key) {
  const platform::plist::Value* value = preferences ? preferences->find(key) : nullptr;
  if (value)
    std::printf("%s is set to %s\n", key, description(*value).c_str());
  else
    std::printf("Key %s not found\n", key);
  std::exit(0);
}

// Applies the set or the remove to the dictionary and prints what it does.
void applyChange(Dictionary& preferences, const Request& request) {
  if (request.action == Action::remove) {
    preferences.erase(request.key);
    std::printf("Removing key %s\n", request.key);
    return;
  }
  if (request.valueProblem) errx(1, "%s", request.valueProblem->c_str());
  std::printf("Setting %s to %s\n", request.key, description(*request.value).c_str());
  preferences.set(request.key, *request.value);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1 || argc - 1 > kMostArguments) usage(argv[0]);
  std::optional<Dictionary> preferences = loadPreferences();

  CommandLine commandLine = parseCommandLine(argc, argv);
  if (auto* bad = std::get_if<BadOption>(&commandLine)) {
    reportBadOption(bad->letter);
    return 1;
  }
  if (std::holds_alternative<ListRequest>(commandLine)) listPreferences(preferences);
  if (std::holds_alternative<MissingKey>(commandLine)) usage(argv[0]);
  const Request& request = std::get<Request>(commandLine);

  if (!platform::isAscii(request.key)) errx(1, "key is not 7-bit ASCII text: %s", request.key);
  if (request.action == Action::show) showKey(preferences, request.key);
  // Without the file's entries a write would lose every other preference.
  if (!preferences) errx(1, "cannot read %s", kPreferencesPath);

  applyChange(*preferences, request);
  std::fflush(stdout);
  savePreferences(std::move(*preferences));
  updatePref(request.key);
  return 0;
}
