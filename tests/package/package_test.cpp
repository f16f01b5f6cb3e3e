// The kit as it is installed and shipped: the install tree laid out as on the
// device, the simulated device kept apart from it, and the Debian package made
// from that tree with the community's control fields.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/plist.h"
#include "tests/support/device.h"
#include "tests/support/scratch_root.h"

namespace fs = std::filesystem;
using platform::plist::Array;
using platform::plist::Dictionary;

namespace {

const std::vector<std::string> kTools = {"iconcount", "badge", "homeprefs", "indicator",
                                         "radio", "tweet", "storequery", "wanaddress"};
const std::vector<std::string> kExtensions = {"layoutkeeper", "editdefer"};
const std::string kExtensionsFolder = "Library/MobileSubstrate/DynamicLibraries/";

struct Output {
  std::string text;  // standard output and standard error together
  int status = -1;
};

Output capture(const std::string& command) {
  Output output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.text.append(buffer, n);
  int status = pclose(pipe);
  output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// A shell command line that starts a built program, as the tests start one.
std::string commandLine(const fs::path& program) {
  std::string line;
  for (const auto& word : e2e::command({program.string()})) line += quoted(fs::path(word)) + " ";
  return line;
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
  return files;
}

// Files and links below a folder (links not followed), as paths relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_directory() || entry.is_symlink()) files.insert(fs::relative(entry.path(), root).string());
  return files;
}

class PackageTest : public testing::Test {
 protected:
  // Each test is a process of its own under CTest, so each makes its own
  // install tree and package from the build.
  void SetUp() override {
    stage_ = scratch_.path() / "stage";
    Output install = capture(std::string(SBKIT_CMAKE) + " --install " + quoted(SBKIT_BUILD_DIR) + " --prefix " +
                             quoted(stage_));
    ASSERT_EQ(install.status, 0) << install.text;
    Output made = capture(std::string(SBKIT_CPACK) + " -G DEB --config " +
                          quoted(fs::path(SBKIT_BUILD_DIR) / "CPackConfig.cmake") + " -B " +
                          quoted(scratch_.path() / "package"));
    ASSERT_EQ(made.status, 0) << made.text;
    architecture_ = debianArchitecture(stage_ / "usr/bin/iconcount");
    package_ = scratch_.path() / "package" / ("sbkit_" SBKIT_VERSION "_" + architecture_ + ".deb");
    ASSERT_TRUE(fs::exists(package_)) << "no package at " << package_ << ":\n" << made.text;
  }

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
  for (const char* stand_in : {"System/Library/Framework/UIKit.framework/UIKit",
                               "System/Library/PrivateFrameworks/SpringBoardServices.framework/SpringBoardServices",
                               "System/Library/PrivateFrameworks/GraphicsServices.framework/GraphicsServices",
                               "Library/Frameworks/CydiaSubstrate.framework/CydiaSubstrate",
                               "System/Library/CoreServices/SpringBoard.app/springboard",
                               "Applications/MobileMail.app/Info.plist"})
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
  EXPECT_EQ(field("Depends"), "mobilesubstrate");

  std::string description = field("Description");
  std::string summary = description.substr(0, description.find('\n'));
  EXPECT_FALSE(summary.empty());
  EXPECT_LE(summary.size(), 80u) << "the first line is a one-line summary";
  EXPECT_NE(description.find('\n'), std::string::npos) << "a longer text follows the summary";
}

TEST_F(PackageTest, EachExtensionsFilterNamesSpringBoard) {
  fs::path unpacked = scratch_.path() / "unpacked";
  Output extracted = capture("dpkg-deb --extract " + quoted(package_) + " " + quoted(unpacked));
  ASSERT_EQ(extracted.status, 0) << extracted.text;
  for (const auto& extension : kExtensions) {
    auto filter = platform::plist::parse(e2e::fileBytes(unpacked / kExtensionsFolder / (extension + ".plist")));
    ASSERT_TRUE(filter && filter->is<Dictionary>()) << extension << ".plist is not a property-list dictionary";
    const auto* inner = filter->get<Dictionary>()->find("Filter");
    const auto* bundles = inner && inner->is<Dictionary>() ? inner->get<Dictionary>()->find("Bundles") : nullptr;
    ASSERT_TRUE(bundles && bundles->is<Array>()) << extension;
    EXPECT_EQ(*bundles->get<Array>(), Array{"com.apple.springboard"}) << extension;

    std::string library = e2e::fileBytes(unpacked / kExtensionsFolder / (extension + ".dylib"));
    EXPECT_EQ(library.substr(0, 4), "\x7f" "ELF") << extension << ".dylib is a shared library of this host";
  }
}

}  // namespace
