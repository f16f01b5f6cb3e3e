#include "loader.h"
#include "tests/support/scratch_root.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

// Each test lays out its own device root with copies of the probe library
// (a fresh file per name, so each copy is a library of its own) and points
// SBKIT_ROOT at it.

namespace {

namespace fs = std::filesystem;

const char* const kSpringBoardFilter = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Filter</key>
	<dict>
		<key>Bundles</key>
		<array>
			<string>com.apple.springboard</string>
		</array>
	</dict>
</dict>
</plist>
)";

const char* const kMailFilter = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict><key>Filter</key><dict><key>Executables</key><array><string>MobileMail</string></array></dict></dict>
</plist>
)";

const char* const kOpenStepFilter = "{ Filter = { Bundles = ( \"com.apple.springboard\" ); }; }";

class Loader : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_);
    unsetenv("SUBSTRATE_PROBE_LOADED");
  }

  void library(const std::string& name, const char* probe = SUBSTRATE_PROBE) { fs::copy_file(probe, folder_ / name); }
  void file(const std::string& name, const std::string& text) { std::ofstream(folder_ / name) << text; }

  static std::string loadedByProbes() {
    const char* loaded = std::getenv("SUBSTRATE_PROBE_LOADED");
    return loaded ? loaded : "";
  }

  // What became of each library, as "name outcome" lines.
  std::string load(std::string* warnings) {
    substrate::Process springBoard{{"com.apple.springboard"}, "SpringBoard", 478.52, {}};
    testing::internal::CaptureStderr();
    std::vector<substrate::Extension> extensions = substrate::loadExtensions(springBoard, "springboard");
    *warnings = testing::internal::GetCapturedStderr();
    std::string outcomes;
    for (const substrate::Extension& extension : extensions)
      outcomes += extension.name + " " + extension.outcome + "\n";
    return outcomes;
  }

  ScratchRoot scratch_;
  const fs::path& root_ = scratch_.path();
  const fs::path folder_ = root_ / "Library/MobileSubstrate/DynamicLibraries";
};

const std::string kFolder = "/Library/MobileSubstrate/DynamicLibraries/";

TEST_F(Loader, OpensMatchingLibrariesInNameOrder) {
  library("b.dylib");
  file("b.plist", kSpringBoardFilter);
  library("a.dylib");
  file("a.plist", kOpenStepFilter);
  library("a-z.dylib");  // '-' sorts before '.': the order is the whole file names' bytes
  library("c.dylib");    // no filter: everywhere
  library("mail.dylib");
  file("mail.plist", kMailFilter);

  std::string warnings;
  EXPECT_EQ(load(&warnings), "a-z loaded\na loaded\nb loaded\nc loaded\nmail filtered out: Executables\n");
  EXPECT_EQ(loadedByProbes(), "a-z.dylib a.dylib b.dylib c.dylib");
  EXPECT_EQ(warnings, "");
  // Opened into the global scope, so later libraries can bind to it.
  EXPECT_NE(dlsym(RTLD_DEFAULT, "substrateProbeMarker"), nullptr);
}

TEST_F(Loader, ALibraryThatCannotBeLoadedIsReportedAndTheOthersLoad) {
  struct Case {
    std::string plist;  // none when empty
    std::string reason;
  };
  const Case cases[] = {
      {"<plist><dict><key>Filter</key>", "cannot read " + kFolder + "x.plist: not a property list"},
      {"{ Filter = { Bundles = ( \"com.apple.springboard\" ; }",
       "cannot read " + kFolder + "x.plist: not a property list"},
      {std::string(600, '(') + std::string(600, ')'), "cannot read " + kFolder + "x.plist: nested too deep"},
      {"<plist version=\"1.0\"><dict><key>Filter</key><string>SpringBoard</string></dict></plist>",
       kFolder + "x.plist: Filter is not a dictionary"},
      {"{ Filter = { Bundles = com.apple.springboard; }; }", kFolder + "x.plist: Bundles is not a list of strings"},
  };
  int round = 0;
  for (const Case& c : cases) {
    fs::remove_all(folder_);
    SetUp();
    library("x.dylib");
    file("x.plist", c.plist);
    // A library opened once stays: each round's is a file of its own.
    std::string other = "y" + std::to_string(++round);
    library(other + ".dylib");
    std::string warnings;
    EXPECT_EQ(load(&warnings), "x failed: " + c.reason + "\n" + other + " loaded\n") << c.plist;
    EXPECT_EQ(loadedByProbes(), other + ".dylib") << c.plist;
    EXPECT_EQ(warnings, "springboard: not loading x: " + c.reason + "\n") << c.plist;
  }
}

TEST_F(Loader, ALibraryThatDoesNotOpenIsReportedInDevicePaths) {
  file("bad.dylib", "not a library");
  library("needy.dylib", SUBSTRATE_NEEDY_PROBE);
  library("fine.dylib");

  std::string warnings;
  std::string outcomes = load(&warnings);

  EXPECT_EQ(loadedByProbes(), "fine.dylib");
  // The reason is the dynamic linker's, with the device path in place of the host path.
  EXPECT_EQ(outcomes.rfind("bad failed: " + kFolder + "bad.dylib: ", 0), 0u) << outcomes;
  EXPECT_NE(outcomes.find("\nfine loaded\nneedy failed: undefined symbol substrateProbeNothingDefines\n"),
            std::string::npos)
      << outcomes;
  EXPECT_EQ(warnings.rfind("springboard: not loading bad: " + kFolder + "bad.dylib: ", 0), 0u) << warnings;
  EXPECT_NE(warnings.find("\nspringboard: not loading needy: undefined symbol substrateProbeNothingDefines\n"),
            std::string::npos)
      << warnings;
  EXPECT_EQ(warnings.find(root_.string()), std::string::npos) << warnings;
}

TEST_F(Loader, IgnoresOtherFilesAndFolders) {
  library("tool.so");
  library("notes.txt");
  library(".dylib");
  fs::create_directory(folder_ / "folder.dylib");
  file("lonely.plist", kSpringBoardFilter);

  std::string warnings;
  EXPECT_EQ(load(&warnings), "");
  EXPECT_EQ(loadedByProbes(), "");
  EXPECT_EQ(warnings, "");
}

TEST_F(Loader, AMissingFolderLoadsNothing) {
  fs::remove_all(root_ / "Library");
  std::string warnings;
  EXPECT_EQ(load(&warnings), "");
  EXPECT_EQ(warnings, "");
}

}  // namespace
