#include "tests/support/device.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace e2e {
namespace fs = std::filesystem;

TemporaryDevice::TemporaryDevice() {
  std::string pattern = (fs::temp_directory_path() / "sbkit-device-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  base_ = pattern;
  root_ = base_ / "device";
  fs::copy(SBKIT_BUILT_DEVICE, root_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  // What earlier runs on the built device left behind is not part of a fresh one.
  for (const char* leftover : {"journal", "springboard.plist", "springboard.plist.lock"})
    fs::remove(root_ / "private/var/sim" / leftover);
}

TemporaryDevice::~TemporaryDevice() {
  std::error_code ignored;
  fs::remove_all(base_, ignored);
}

fs::path TemporaryDevice::host(const std::string& devicePath) const {
  return root_ / fs::path(devicePath).relative_path();
}

std::vector<std::string> TemporaryDevice::journal() const {
  std::vector<std::string> lines;
  std::ifstream in(host("/private/var/sim/journal"));
  for (std::string line; std::getline(in, line);) {
    std::size_t tab = line.find('\t');
    lines.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
  }
  return lines;
}

void TemporaryDevice::clearJournal() const {
  std::error_code ignored;
  fs::remove(host("/private/var/sim/journal"), ignored);
}

void TemporaryDevice::replaceLibrary(const std::string& devicePath, const std::string& otherDevicePath) const {
  fs::copy_file(host(otherDevicePath), host(devicePath), fs::copy_options::overwrite_existing);
}

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

CommandOutput shell(const std::string& command) {
  CommandOutput output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.text.append(buffer, n);
  int status = pclose(pipe);
  output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::optional<Elf32_Ehdr> elfHeader(const fs::path& path) {
  Elf32_Ehdr header{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(&header), sizeof header)) return std::nullopt;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return std::nullopt;
  return header;
}

std::string program(const std::string& name) { return std::string(SBKIT_BIN_DIR) + "/" + name; }

namespace {

// The build's emulator and its options; empty on a native build.
const std::vector<std::string> kEmulator = {
#include "tests/support/emulator.inc"
};

// The processor a file is built for; 0 when it is no ELF file.
Elf32_Half machineOf(const fs::path& path) {
  std::optional<Elf32_Ehdr> header = elfHeader(path);
  return header ? header->e_machine : 0;
}

}  // namespace

std::vector<std::string> command(std::vector<std::string> argv) {
  // Under the emulator this program's own image is the built one.
  static const Elf32_Half builtFor = machineOf("/proc/self/exe");
  if (kEmulator.empty() || argv.empty() || machineOf(argv[0]) != builtFor) return argv;
  argv.insert(argv.begin(), kEmulator.begin(), kEmulator.end());
  return argv;
}

namespace {

// A word that /bin/sh reads back as it is.
std::string shellWord(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A folder of scripts that start the programs of build/bin through the
// emulator, removed when the test ends.
class EmulatedPrograms {
 public:
  EmulatedPrograms() {
    std::string pattern = (fs::temp_directory_path() / "sbkit-programs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    for (const auto& entry : fs::directory_iterator(SBKIT_BIN_DIR)) {
      std::string name = entry.path().filename().string();
      std::vector<std::string> started = command({entry.path().string()});
      if (started.size() == 1) continue;  // not built for the emulated processor
      // qemu's -0 gives the program the name it was called by, as a shell does.
      started.insert(started.end() - 1, {"-0", name});
      fs::path script = folder_ / name;
      std::ofstream(script) << "#!/bin/sh\nexec " << commandLine(started) << " \"$@\"\n";
      fs::permissions(script, fs::perms::owner_all);
    }
  }
  ~EmulatedPrograms() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const fs::path& folder() const { return folder_; }

 private:
  fs::path folder_;
};

}  // namespace

std::string commandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const auto& word : argv) line += (line.empty() ? "" : " ") + shellWord(word);
  return line;
}

std::string programFolder() {
  if (kEmulator.empty()) return SBKIT_BIN_DIR;
  static const EmulatedPrograms programs;
  return programs.folder().string();
}

std::vector<std::string> throughShell(const std::string& script, const std::vector<std::string>& argv) {
  std::vector<std::string> shell{"/bin/sh", "-c", script, "sh"};
  for (auto& word : command(argv)) shell.push_back(std::move(word));
  return shell;
}

namespace {

std::vector<std::string> environmentFor(const TemporaryDevice& device,
                                        const std::map<std::string, std::string>& extra) {
  std::map<std::string, std::string> variables{{"PATH", "/usr/bin:/bin"}, {"SBKIT_ROOT", device.root().string()}};
  // Sanitizer settings of the test run reach the programs it starts.
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = std::getenv(name)) variables[name] = value;
  for (const auto& [name, value] : extra) variables[name] = value;
  std::vector<std::string> environment;
  for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);
  return environment;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

struct Child {
  int pid, in, out, err;
};

Child spawn(const TemporaryDevice& device, const std::vector<std::string>& program,
            const std::map<std::string, std::string>& extra) {
  std::vector<std::string> argv = command(program);
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
    throw std::runtime_error("cannot make pipes");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<std::string> environment = environmentFor(device, extra);
  auto args = pointers(argv);
  auto env = pointers(environment);
  pid_t pid = -1;
  int failed = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (failed) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
  return {pid, in[1], out[0], err[0]};
}

Result wait(int pid, Result result) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  result.exited = WIFEXITED(status);
  result.status = result.exited ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

// Moves bytes between the child and the strings until both outputs end, or
// until stopWhen says enough has been read.
void pump(int& in, std::string_view input, int& out, std::string& outText, int& err, std::string& errText,
          const std::function<bool()>& stopWhen = nullptr) {
  std::size_t written = 0;
  if (in >= 0 && input.empty() && !stopWhen) {
    close(in);
    in = -1;
  }
  while (out >= 0 || err >= 0) {
    if (stopWhen && stopWhen()) return;
    pollfd fds[3];
    int count = 0;
    auto add = [&](int fd, short events) {
      if (fd >= 0) fds[count++] = {fd, events, 0};
    };
    add(out, POLLIN);
    add(err, POLLIN);
    if (in >= 0 && written < input.size()) add(in, POLLOUT);
    if (poll(fds, count, 10000) <= 0) throw std::runtime_error("the program gave no sign of life for 10 s");
    for (int i = 0; i < count; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == in) {
        ssize_t n = write(in, input.data() + written, input.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        if (n < 0 || written == input.size()) {
          close(in);
          in = -1;
        }
        continue;
      }
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      int& fd = fds[i].fd == out ? out : err;
      std::string& text = fds[i].fd == out ? outText : errText;
      if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
      else {
        close(fd);
        fd = -1;
      }
    }
  }
}

}  // namespace

Result run(const TemporaryDevice& device, const std::vector<std::string>& argv, const std::string& input,
           const std::map<std::string, std::string>& environment) {
  signal(SIGPIPE, SIG_IGN);
  Child child = spawn(device, argv, environment);
  Result result;
  pump(child.in, input, child.out, result.out, child.err, result.err);
  if (child.in >= 0) close(child.in);
  return wait(child.pid, std::move(result));
}

Result runProgram(const TemporaryDevice& device, const std::string& name, std::vector<std::string> arguments,
                  const std::string& input, const std::map<std::string, std::string>& environment) {
  arguments.insert(arguments.begin(), program(name));
  return run(device, arguments, input, environment);
}

Session::Session(const TemporaryDevice& device, const std::vector<std::string>& argv) {
  signal(SIGPIPE, SIG_IGN);
  Child child = spawn(device, argv, {});
  pid_ = child.pid;
  in_ = child.in;
  out_ = child.out;
  err_ = child.err;
}

Session::~Session() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    finish();
  }
}

void Session::send(const std::string& line) {
  std::string text = line + "\n";
  if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    throw std::runtime_error("cannot write to the program");
}

std::string Session::readUntil(const std::string& marker) {
  auto found = [&] { return pendingOut_.find(marker) != std::string::npos; };
  pump(in_, {}, out_, pendingOut_, err_, pendingErr_, found);
  std::size_t end = found() ? pendingOut_.find(marker) + marker.size() : pendingOut_.size();
  std::string text = pendingOut_.substr(0, end);
  pendingOut_.erase(0, end);
  return text;
}

Result Session::finish() {
  if (in_ >= 0) close(in_);
  in_ = -1;
  Result result;
  result.out = std::move(pendingOut_);
  result.err = std::move(pendingErr_);
  pump(in_, {}, out_, result.out, err_, result.err);
  int pid = pid_;
  pid_ = -1;
  return wait(pid, std::move(result));
}

}  // namespace e2e
