// homeprefs: shows, sets or removes one top-level key of SpringBoard's
// preferences, or lists them all; a change is written back for the mobile user
// and announced to SpringBoard.

#include <err.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/homeprefs/command_line.h"
#include "tools/homeprefs/preferences.h"

using namespace homeprefs;
using platform::plist::Document;
using platform::plist::Encoded;
using platform::plist::description;

namespace {

constexpr int kUsageStatus = 255;

[[noreturn]] void usage(const char* programName) {
  std::printf("Usage: %s [options] key\n", programName);
  std::puts("This utility sets and updates SpringBoard prefs.");
  std::puts("   -l          list existing values");
  std::puts("   -i value    set the key to the integer value");
  std::puts("   -f value    set the key to the float value");
  std::puts("   -s value    set the key to the string value");
  std::puts("   -a value    set the key to the array value");
  std::puts("   -1          set the key to true");
  std::puts("   -0          set the key to false");
  std::puts("   -r          remove the key and its value");
  std::puts("No more than one option can be used at a time.");
  std::exit(kUsageStatus);
}

// One option, its value and the key; more is a usage error, before the file
// is read or an option looked at.
constexpr int kMostArguments = 3;

[[noreturn]] void listPreferences() {
  std::string why;
  std::optional<Document> preferences = Document::read(kSpringBoardPreferencesPath, &why);
  if (!preferences) errx(0, "cannot read %s: %s", kSpringBoardPreferencesPath, why.c_str());
  std::puts(description(preferences->root).c_str());
  std::exit(0);
}

// An unreadable file has no keys; why it could not be read goes to standard
// error, beside the usual answer.
[[noreturn]] void showKey(const char* key) {
  std::string why;
  std::optional<Document> preferences = Document::read(kSpringBoardPreferencesPath, &why);
  if (!preferences) warnx("cannot read %s: %s", kSpringBoardPreferencesPath, why.c_str());
  const platform::plist::Value* value = preferences ? preferences->entries().find(key) : nullptr;
  if (value) std::printf("%s is set to %s\n", key, description(*value).c_str());
  else std::printf("Key %s not found\n", key);
  std::exit(0);
}

// Applies the set or the remove and prints it, making the file's new bytes;
// refuses first a file that could not be written back as it was read.
Encoded applyChange(Document& preferences, const Request& request) {
  if (request.action == Action::remove) preferences.entries().erase(request.key);
  else preferences.entries().set(request.key, *request.value);
  std::string why;
  std::optional<Encoded> file = encode(preferences.root, preferences.format, &why);
  if (!file) errx(1, "cannot rewrite %s: %s", kSpringBoardPreferencesPath, why.c_str());
  if (request.action == Action::remove) std::printf("Removing key %s\n", request.key);
  else std::printf("Setting %s to %s\n", request.key, description(*request.value).c_str());
  return std::move(*file);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1 || argc - 1 > kMostArguments) usage(argv[0]);

  CommandLine commandLine = parseCommandLine(argc, argv);
  if (auto* bad = std::get_if<BadOption>(&commandLine)) {
    reportBadOption(bad->letter);
    return 1;
  }
  if (std::holds_alternative<ListRequest>(commandLine)) listPreferences();
  if (std::holds_alternative<MissingKey>(commandLine)) usage(argv[0]);
  const Request& request = std::get<Request>(commandLine);

  if (auto problem = textProblem("key", request.key)) errx(1, "%s", problem->c_str());
  if (request.action == Action::show) showKey(request.key);
  if (request.action == Action::set && request.valueProblem) errx(1, "%s", request.valueProblem->c_str());

  // Read, change and write under one lock, or a change could undo another's.
  // Static, so that the lock file goes on the error exits too.
  static std::optional<platform::FileLock> lock = platform::FileLock::acquire(kSpringBoardPreferencesPath);
  if (!lock) err(1, "cannot lock %s", kSpringBoardPreferencesPath);
  std::string why;
  std::optional<Document> preferences = Document::read(kSpringBoardPreferencesPath, &why);
  // Without the file's entries a write would lose every other preference.
  if (!preferences) errx(1, "cannot read %s: %s", kSpringBoardPreferencesPath, why.c_str());

  Encoded file = applyChange(*preferences, request);
  std::fflush(stdout);
  savePreferences(file);
  lock.reset();
  announceChange(request.key);
  return 0;
}
