#pragma once

// End-to-end test support: a fresh copy of the built device root per test, and
// the built programs run against it as a user runs them.

#include <elf.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A copy of build/device in a new temporary folder, removed when the test ends.
class TemporaryDevice {
 public:
  TemporaryDevice();
  ~TemporaryDevice();
  TemporaryDevice(const TemporaryDevice&) = delete;
  TemporaryDevice& operator=(const TemporaryDevice&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // The host path of a device path inside this root.
  std::filesystem::path host(const std::string& devicePath) const;
  // Journal lines without their time stamp, fields joined by tabs as written;
  // empty when nothing has been journalled.
  std::vector<std::string> journal() const;
  // Removes the journal, so that a test sees only what follows.
  void clearJournal() const;
  // Puts a copy of the library at otherDevicePath in place of the one at
  // devicePath: a framework that loads but lacks its own entry points.
  void replaceLibrary(const std::string& devicePath, const std::string& otherDevicePath) const;

 private:
  std::filesystem::path base_;
  std::filesystem::path root_;
};

struct Result {
  std::string out;
  std::string err;
  bool exited = false;  // false when a signal ended the program
  int status = -1;      // exit status when exited
  int signal = 0;       // terminating signal otherwise
};

// The bytes of a host file; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);

// What a shell command run in the test's own environment printed on standard
// output, and its exit status (-1 when it did not exit).
struct CommandOutput {
  std::string text;
  int status = -1;
};
CommandOutput shell(const std::string& command);

// The identification of an ELF file (the processor is e_machine, the same
// field in 32- and 64-bit files); none for a file that is not ELF.
std::optional<Elf32_Ehdr> elfHeader(const std::filesystem::path& path);

// The path of a built program in build/bin.
std::string program(const std::string& name);

// The kit's command-line tools, as build/bin and an installed kit's /usr/bin
// hold them; each has its manual page, <name>.1.
inline const std::vector<std::string> kTools = {"iconcount", "badge", "homeprefs",  "indicator",
                                                "radio",     "tweet", "storequery", "wanaddress"};

// argv as it must be started: a program built for the build's processor goes
// through the build's emulator when it has one (a cross build), so that the
// same tests run on both; anything else, and everything on a native build,
// starts as it is.
std::vector<std::string> command(std::vector<std::string> argv);

// argv as one line for /bin/sh, every word quoted, started as command says.
std::string commandLine(const std::vector<std::string>& argv);

// The folder to put first on PATH to start the built programs by name, as a
// user does: build/bin, or on a cross build a folder of scripts, one for
// each program of build/bin, that start it through the emulator with the
// name it was called by.
std::string programFolder();

// A command that runs script in /bin/sh with argv, as command says to start
// it, in "$@": the script ends with exec "$@" to start the program.
std::vector<std::string> throughShell(const std::string& script, const std::vector<std::string>& argv);

// Runs argv[0] (a path, started as command says) with a clean environment holding PATH, SBKIT_ROOT and
// any extra variables, feeding input on standard input.
Result run(const TemporaryDevice& device, const std::vector<std::string>& argv, const std::string& input = "",
           const std::map<std::string, std::string>& environment = {});
// As run, for the built program of that name with the arguments after it.
Result runProgram(const TemporaryDevice& device, const std::string& name, std::vector<std::string> arguments,
                  const std::string& input = "", const std::map<std::string, std::string>& environment = {});

// A program that keeps running while the test talks to it line by line.
class Session {
 public:
  Session(const TemporaryDevice& device, const std::vector<std::string>& argv);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void send(const std::string& line);
  // Standard output read until it ends with marker (or the program closes it).
  std::string readUntil(const std::string& marker);
  // Closes standard input and waits for the end.
  Result finish();

 private:
  int pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string pendingOut_;
  std::string pendingErr_;
};

}  // namespace e2e
