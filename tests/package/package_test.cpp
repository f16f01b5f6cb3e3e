// The kit as it is installed and shipped: the install tree laid out as on the
// device, the simulated device kept apart from it, and the Debian package made
// from that tree with the community's control fields.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/support/device.h"
#include "tests/support/scratch_root.h"

namespace fs = std::filesystem;
using platform::plist::Array;
using platform::plist::Dictionary;

namespace {

using e2e::kTools;
const std::vector<std::string> kExtensions = {"layoutkeeper", "editdefer"};
const std::string kExtensionsFolder = "Library/MobileSubstrate/DynamicLibraries/";
const std::vector<std::string> kManualPages = {"man1/iconcount.1",  "man1/badge.1",      "man1/homeprefs.1",
                                               "man1/indicator.1",  "man1/radio.1",      "man1/tweet.1",
                                               "man1/storequery.1", "man1/wanaddress.1", "man7/sbkit.7"};

using Output = e2e::CommandOutput;

// Standard output and standard error together.
Output capture(const std::string& command) { return e2e::shell(command + " 2>&1"); }

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// A shell command line that starts a built program, as the tests start one.
std::string commandLine(const fs::path& program) { return e2e::commandLine(e2e::command({program.string()})) + " "; }

// A trace without the lines that name a folder the emulator of a cross build
// is told to search (its library root): those are the emulator's own looks
// for libraries, not the program's.
std::string withoutEmulatorFolders(const std::string& trace, const fs::path& program) {
  std::vector<std::string> emulator = e2e::command({program.string()});
  emulator.pop_back();
  std::vector<std::string> folders;
  for (const auto& word : emulator)
    if (std::size_t equals = word.find("=/"); equals != std::string::npos) folders.push_back(word.substr(equals + 1));
  std::istringstream lines(trace);
  std::string kept;
  for (std::string line; std::getline(lines, line);)
    if (std::none_of(folders.begin(), folders.end(), [&](const auto& f) { return line.find(f) != std::string::npos; }))
      kept += line + "\n";
  return kept;
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// The Debian name of the processor a program is built for; empty for one
// this test does not know.
std::string debianArchitecture(const fs::path& program) {
  std::optional<Elf32_Ehdr> header = e2e::elfHeader(program);
  if (!header) return "";
  if (header->e_machine == EM_X86_64) return "amd64";
  if (header->e_machine == EM_AARCH64) return "arm64";
  if (header->e_machine == EM_ARM) return header->e_flags & EF_ARM_ABI_FLOAT_HARD ? "armhf" : "armel";
  return "";
}

// The files of the product as they sit below the device root.
std::set<std::string> productFiles() {
  std::set<std::string> files;
  for (const auto& tool : kTools) files.insert("usr/bin/" + tool);
  for (const auto& extension : kExtensions) {
    files.insert(kExtensionsFolder + extension + ".dylib");
    files.insert(kExtensionsFolder + extension + ".plist");
  }
  for (const auto& page : kManualPages) files.insert("usr/share/man/" + page + ".gz");
  return files;
}

// Files and links below a folder (links not followed), as paths relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_directory() || entry.is_symlink()) files.insert(fs::relative(entry.path(), root).string());
  return files;
}

// A library that a shipped file needs (a NEEDED entry of its dynamic section).
struct Need {
  std::string file;
  std::string library;
};

// The libraries every ELF file below the folder needs, by readelf.
std::vector<Need> neededLibraries(const fs::path& root) {
  std::vector<Need> needs;
  std::regex needed(R"(\(NEEDED\)\s+Shared library: \[(.*)\])");
  for (const auto& path : filesBelow(root)) {
    if (e2e::fileBytes(root / path).substr(0, 4) !=
        "\x7f"
        "ELF")
      continue;
    std::istringstream lines(capture("readelf -d " + quoted(root / path)).text);
    for (std::string line; std::getline(lines, line);) {
      std::smatch match;
      if (std::regex_search(line, match, needed)) needs.push_back({path, match[1]});
    }
  }
  return needs;
}

// The packages a Depends field names, without versions or architectures.
std::set<std::string> packagesNamed(const std::string& depends) {
  std::set<std::string> names;
  std::regex name(R"((?:^|[,|])\s*([a-z0-9][a-z0-9+.-]+))");
  for (auto it = std::sregex_iterator(depends.begin(), depends.end(), name); it != std::sregex_iterator(); ++it)
    names.insert((*it)[1]);
  return names;
}

using Providers = std::map<std::string, std::set<std::string>>;

// For each needed library, the Debian packages that ship a file of its name,
// asked of dpkg at once. The device's own substrate is in none of this
// machine's packages: mobilesubstrate brings it.
Providers providersOf(const std::vector<Need>& needs) {
  Providers providers;
  std::string patterns;
  for (const auto& need : needs) {
    providers[need.library];
    patterns += " '*/" + need.library + "'";
  }
  // Lines read "libc6:amd64, libc6:armhf: /usr/lib/x86_64-linux-gnu/libc.so.6".
  std::istringstream lines(capture("dpkg -S" + patterns).text);
  for (std::string line; std::getline(lines, line);) {
    std::size_t end = line.find(": /");
    if (end == std::string::npos) continue;
    auto library = providers.find(fs::path(line.substr(end + 2)).filename().string());
    if (library == providers.end()) continue;
    std::istringstream names(line.substr(0, end));
    for (std::string name; std::getline(names >> std::ws, name, ',');)
      library->second.insert(name.substr(0, name.find(':')));
  }
  if (providers.count("CydiaSubstrate")) providers["CydiaSubstrate"].insert("mobilesubstrate");
  return providers;
}

// The Depends field of a control file.
std::string dependsOf(const fs::path& control) {
  std::istringstream lines(e2e::fileBytes(control));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Depends: ", 0) == 0) return line.substr(9);
  return "";
}

// The needs that no package named in the control file's Depends provides, as
// "library (file): packages that would", one a line; empty when all are met.
std::string unmetNeeds(const std::vector<Need>& needs, const Providers& providers, const fs::path& control) {
  std::set<std::string> named = packagesNamed(dependsOf(control));
  std::string unmet;
  for (const auto& need : needs) {
    const std::set<std::string>& packages = providers.at(need.library);
    if (std::any_of(packages.begin(), packages.end(), [&](const auto& p) { return named.count(p); })) continue;
    unmet += need.library + " (" + need.file + "):";
    for (const auto& package : packages) unmet += " " + package;
    unmet += "\n";
  }
  return unmet;
}

class PackageTest : public testing::Test {
 protected:
  // Each test is a process of its own under CTest, so each makes its own
  // install tree and package from the build.
  void SetUp() override {
    stage_ = scratch_.path() / "stage";
    Output install =
        capture(std::string(SBKIT_CMAKE) + " --install " + quoted(SBKIT_BUILD_DIR) + " --prefix " + quoted(stage_));
    ASSERT_EQ(install.status, 0) << install.text;
    Output made =
        capture(std::string(SBKIT_CPACK) + " -G DEB --config " +
                quoted(fs::path(SBKIT_BUILD_DIR) / "CPackConfig.cmake") + " -B " + quoted(scratch_.path() / "package"));
    ASSERT_EQ(made.status, 0) << made.text;
    architecture_ = debianArchitecture(stage_ / "usr/bin/iconcount");
    package_ = scratch_.path() / "package" / ("sbkit_" SBKIT_VERSION "_" + architecture_ + ".deb");
    ASSERT_TRUE(fs::exists(package_)) << "no package at " << package_ << ":\n" << made.text;
  }

  // The package's files below unpacked/ and its control file in control/.
  void unpack() {
    Output files = capture("dpkg-deb --extract " + quoted(package_) + " " + quoted(unpacked()));
    ASSERT_EQ(files.status, 0) << files.text;
    Output control = capture("dpkg-deb --control " + quoted(package_) + " " + quoted(scratch_.path() / "control"));
    ASSERT_EQ(control.status, 0) << control.text;
  }
  fs::path unpacked() const { return scratch_.path() / "unpacked"; }
  fs::path control() const { return scratch_.path() / "control/control"; }

  std::string field(const std::string& name) const {
    Output output = capture("dpkg-deb --field " + quoted(package_) + " " + name);
    EXPECT_EQ(output.status, 0) << output.text;
    return trimmed(output.text);
  }

  ScratchRoot scratch_;
  fs::path stage_;
  fs::path package_;
  std::string architecture_;
};

TEST_F(PackageTest, TheInstallTreeHoldsTheToolsAndExtensionsAtTheirDevicePathsAndNothingElse) {
  EXPECT_EQ(filesBelow(stage_), productFiles());
  for (const auto& tool : kTools) {
    struct stat info {};
    ASSERT_EQ(stat((stage_ / "usr/bin" / tool).c_str(), &info), 0) << tool;
    EXPECT_EQ(info.st_mode & 07777, 0755u) << tool;
  }
}

TEST_F(PackageTest, TheSimulatedDeviceInstallsApartAndRunsTheInstalledTools) {
  fs::path root = scratch_.path() / "simulated";
  Output simulator = capture(std::string(SBKIT_CMAKE) + " --install " + quoted(SBKIT_BUILD_DIR) +
                             " --component simulator --prefix " + quoted(root));
  ASSERT_EQ(simulator.status, 0) << simulator.text;
  std::set<std::string> files = filesBelow(root);
  for (const char* stand_in :
       {"System/Library/Framework/UIKit.framework/UIKit",
        "System/Library/PrivateFrameworks/SpringBoardServices.framework/SpringBoardServices",
        "System/Library/PrivateFrameworks/GraphicsServices.framework/GraphicsServices",
        "Library/Frameworks/CydiaSubstrate.framework/CydiaSubstrate",
        "System/Library/CoreServices/SpringBoard.app/springboard", "Applications/MobileMail.app/Info.plist"})
    EXPECT_TRUE(files.count(stand_in)) << stand_in;
  for (const auto& file : productFiles()) EXPECT_FALSE(files.count(file)) << file << " is not the simulator's";
  EXPECT_TRUE(fs::is_symlink(root / "var"));

  // With the kit installed over it, the root is a device the tools work on.
  fs::copy(stage_, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  Output badged = capture("SBKIT_ROOT=" + quoted(root) + " " + commandLine(root / "usr/bin/iconcount") + "Mail 3");
  EXPECT_EQ(badged.status, 0) << badged.text;
  EXPECT_EQ(badged.text, "Setting com.apple.mobilemail badge to 3\n");
  std::string journal = e2e::fileBytes(root / "private/var/sim/journal");
  EXPECT_NE(journal.find("\tSBSetApplicationBadgeNumber\tcom.apple.mobilemail\t3\n"), std::string::npos) << journal;
  Output status = capture("SBKIT_ROOT=" + quoted(root) + " " +
                          commandLine(root / "System/Library/CoreServices/SpringBoard.app/springboard") + "-c status");
  EXPECT_EQ(status.status, 0) << status.text;
  EXPECT_NE(status.text.find("com.apple.mobilemail: 3"), std::string::npos) << status.text;
}

TEST_F(PackageTest, ThePackageHoldsExactlyTheInstallTreeOwnedByRoot) {
  Output contents = capture("dpkg-deb --contents " + quoted(package_));
  ASSERT_EQ(contents.status, 0) << contents.text;
  // Lines read "-rwxr-xr-x root/root 1234 2026-01-01 10:00 ./usr/bin/tool".
  std::regex line(R"(([-dl][rwxsStT-]{9}) (\S+) +\d+ \S+ \S+ \./(.*))");
  std::map<std::string, std::string> modes;
  std::istringstream lines(contents.text);
  for (std::string text; std::getline(lines, text);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << text;
    EXPECT_EQ(match[2], "root/root") << text;
    if (match[1].str()[0] == '-') modes[match[3]] = match[1];
  }
  std::set<std::string> files;
  for (const auto& [path, mode] : modes) files.insert(path);
  EXPECT_EQ(files, productFiles());
  for (const auto& tool : kTools) EXPECT_EQ(modes["usr/bin/" + tool], "-rwxr-xr-x") << tool;
}

TEST_F(PackageTest, TheControlFieldsAreTheCommunitysOwn) {
  EXPECT_TRUE(std::regex_match(field("Package"), std::regex(R"([a-z0-9-]+(\.[a-z0-9-]+){2,})"))) << field("Package");
  EXPECT_EQ(field("Name"), "sbkit");
  EXPECT_EQ(field("Version"), SBKIT_VERSION);
  EXPECT_EQ(field("Architecture"), architecture_);
  EXPECT_TRUE(std::regex_match(field("Maintainer"), std::regex(R"(.+ <[^ @]+@[^ @]+>)"))) << field("Maintainer");
  EXPECT_EQ(field("Author"), field("Maintainer"));
  EXPECT_EQ(field("Section"), "Tweaks");
  EXPECT_EQ(field("Depends").rfind("mobilesubstrate, ", 0), 0u) << field("Depends");

  std::string description = field("Description");
  std::string summary = description.substr(0, description.find('\n'));
  EXPECT_FALSE(summary.empty());
  EXPECT_LE(summary.size(), 80u) << "the first line is a one-line summary";
  EXPECT_NE(description.find('\n'), std::string::npos) << "a longer text follows the summary";
}

TEST_F(PackageTest, EachExtensionsFilterNamesSpringBoard) {
  ASSERT_NO_FATAL_FAILURE(unpack());
  for (const auto& extension : kExtensions) {
    auto filter = platform::plist::parse(e2e::fileBytes(unpacked() / kExtensionsFolder / (extension + ".plist")));
    ASSERT_TRUE(filter && filter->is<Dictionary>()) << extension << ".plist is not a property-list dictionary";
    const auto* inner = filter->get<Dictionary>()->find("Filter");
    const auto* bundles = inner && inner->is<Dictionary>() ? inner->get<Dictionary>()->find("Bundles") : nullptr;
    ASSERT_TRUE(bundles && bundles->is<Array>()) << extension;
    EXPECT_EQ(*bundles->get<Array>(), Array{"com.apple.springboard"}) << extension;

    std::string library = e2e::fileBytes(unpacked() / kExtensionsFolder / (extension + ".dylib"));
    EXPECT_EQ(library.substr(0, 4),
              "\x7f"
              "ELF")
        << extension << ".dylib is a shared library of this host";
  }
}

TEST_F(PackageTest, DependsNamesThePackageOfEveryLibraryAShippedFileNeeds) {
  ASSERT_NO_FATAL_FAILURE(unpack());
  std::vector<Need> needs = neededLibraries(unpacked());
  ASSERT_GE(needs.size(), 10u) << "every tool and extension needs libraries";
  EXPECT_EQ(unmetNeeds(needs, providersOf(needs), control()), "") << "Depends: " << dependsOf(control());
}

TEST_F(PackageTest, DependsWithoutAnyPackageThatShipsANeededLibraryLeavesOneUnmet) {
  ASSERT_NO_FATAL_FAILURE(unpack());
  std::vector<Need> needs = neededLibraries(unpacked());
  Providers providers = providersOf(needs);
  std::string depends = dependsOf(control());
  std::set<std::string> named = packagesNamed(depends);
  ASSERT_GE(named.size(), 4u) << depends;
  std::size_t checked = 0;
  for (const auto& removed : named) {
    // A package that ships none of the needed libraries came with one of
    // theirs (GNUstep Base's names its runtime files): leaving it out unmeets
    // no library, and no check here would notice.
    if (std::none_of(providers.begin(), providers.end(), [&](const auto& p) { return p.second.count(removed); }))
      continue;
    ++checked;
    // The control file again, with that package's entry left out of Depends.
    std::string control = e2e::fileBytes(this->control()), kept;
    std::istringstream entries(depends);
    for (std::string entry; std::getline(entries >> std::ws, entry, ',');)
      if (!packagesNamed(entry).count(removed)) kept += (kept.empty() ? "" : ", ") + entry;
    control.replace(control.find(depends), depends.size(), kept);
    fs::path changed = scratch_.path() / "control/without";
    std::ofstream(changed) << control;
    EXPECT_NE(unmetNeeds(needs, providers, changed), "") << "without " << removed << ", Depends: " << kept;
  }
  EXPECT_GE(checked, 4u) << depends;
}

TEST_F(PackageTest, ManualPagesAreCompressedWithoutNameOrTime) {
  ASSERT_NO_FATAL_FAILURE(unpack());
  for (const auto& page : kManualPages) {
    fs::path compressed = unpacked() / "usr/share/man" / (page + ".gz");
    std::string bytes = e2e::fileBytes(compressed);
    ASSERT_GE(bytes.size(), 10u) << page;
    EXPECT_EQ(bytes.substr(0, 2), "\x1f\x8b") << page;
    EXPECT_EQ(bytes[3] & 0x08, 0) << page << " holds a file name";
    EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0')) << page << " holds a time";
    EXPECT_EQ(capture("gzip -dc " + quoted(compressed)).text,
              e2e::fileBytes(fs::path(SBKIT_MANUAL_DIR) / fs::path(page).filename()))
        << page;
  }
}

// With no SBKIT_ROOT an installed tool is on the device: it reads "/" and
// never the build it came from, so here, on a machine without the device's
// files, it does what the built tool does on an empty device root.
TEST_F(PackageTest, AnInstalledToolLooksAtTheMachineItselfNotTheBuild) {
  fs::path empty = scratch_.path() / "empty";
  fs::create_directories(empty);
  const std::vector<std::string> commands = {"iconcount list", "iconcount Mail 3", "badge Stocks New",
                                             "homeprefs SBAutoLockTime", "indicator -l"};
  // Where the tracer may not trace (a container without ptrace), the outputs
  // are still compared.
  bool tracing = capture("strace -o /dev/null true").status == 0;
  fs::path trace = scratch_.path() / "trace";
  // The leak checker cannot run under a tracer; the sanitized build's other
  // checks still do.
  std::string tracer = tracing ? "ASAN_OPTIONS=detect_leaks=0 strace -f -e trace=file -o " + quoted(trace) + " " : "";
  std::string traced;
  for (const auto& command : commands) {
    std::string tool = command.substr(0, command.find(' ')), arguments = command.substr(tool.size() + 1);
    Output installed = capture("env -u SBKIT_ROOT " + tracer + commandLine(stage_ / "usr/bin" / tool) + arguments);
    Output built = capture("SBKIT_ROOT=" + quoted(empty) + " " + commandLine(e2e::program(tool)) + arguments);
    EXPECT_EQ(installed.text, built.text) << command;
    EXPECT_EQ(installed.status, built.status) << command;
    traced += withoutEmulatorFolders(e2e::fileBytes(trace), stage_ / "usr/bin" / tool);
  }
  if (!tracing) GTEST_SKIP() << "strace cannot trace here: the paths read are not checked";
  EXPECT_NE(traced.find("\"/var/mobile/Applications/"), std::string::npos) << "the machine's own paths are read";
  EXPECT_EQ(traced.find(SBKIT_BUILD_DIR), std::string::npos) << traced;
}

}  // namespace
