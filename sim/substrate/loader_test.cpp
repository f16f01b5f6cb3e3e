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

class Loader : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_);
    unsetenv("SUBSTRATE_PROBE_LOADED");
  }

  void library(const std::string& name) { fs::copy_file(SUBSTRATE_PROBE, folder_ / name); }
  void file(const std::string& name, const std::string& text) { std::ofstream(folder_ / name) << text; }

  static std::string loadedByProbes() {
    const char* loaded = std::getenv("SUBSTRATE_PROBE_LOADED");
    return loaded ? loaded : "";
  }

  std::vector<std::string> load(std::string* warnings) {
    testing::internal::CaptureStderr();
    std::vector<std::string> opened = substrate::loadExtensions("com.apple.springboard", "SpringBoard");
    *warnings = testing::internal::GetCapturedStderr();
    return opened;
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
  file("a.plist", kSpringBoardFilter);
  library("c.dylib");  // no filter: everywhere

  std::string warnings;
  std::vector<std::string> opened = load(&warnings);

  EXPECT_EQ(opened, (std::vector<std::string>{kFolder + "a.dylib", kFolder + "b.dylib", kFolder + "c.dylib"}));
  EXPECT_EQ(loadedByProbes(), "a.dylib b.dylib c.dylib");
  EXPECT_EQ(warnings, "");
  // Opened into the global scope, so later libraries can bind to it.
  EXPECT_NE(dlsym(RTLD_DEFAULT, "substrateProbeMarker"), nullptr);
}

TEST_F(Loader, SkipsLibrariesFilteredForOtherProcesses) {
  library("mail.dylib");
  file("mail.plist", kMailFilter);
  library("springboard.dylib");
  file("springboard.plist", kSpringBoardFilter);

  std::string warnings;
  std::vector<std::string> opened = load(&warnings);

  EXPECT_EQ(opened, std::vector<std::string>{kFolder + "springboard.dylib"});
  EXPECT_EQ(loadedByProbes(), "springboard.dylib");
  EXPECT_EQ(warnings, "");
}

TEST_F(Loader, SkipsALibraryWithACorruptFilterAndSaysSo) {
  library("broken.dylib");
  file("broken.plist", "<plist><dict><key>Filter</key>");
  library("shape.dylib");
  file("shape.plist", "<plist version=\"1.0\"><dict><key>Filter</key><string>SpringBoard</string></dict></plist>");
  library("good.dylib");

  std::string warnings;
  std::vector<std::string> opened = load(&warnings);

  EXPECT_EQ(opened, std::vector<std::string>{kFolder + "good.dylib"});
  EXPECT_EQ(loadedByProbes(), "good.dylib");
  EXPECT_EQ(warnings, "MS:Warning: skipping " + kFolder + "broken.dylib: cannot read filter " + kFolder +
                          "broken.plist\n"
                          "MS:Warning: skipping " + kFolder + "shape.dylib: filter " + kFolder +
                          "shape.plist is not a dictionary of name lists\n");
}

TEST_F(Loader, ReportsALibraryThatDoesNotOpenAndGoesOn) {
  file("bad.dylib", "not a library");
  library("fine.dylib");

  std::string warnings;
  std::vector<std::string> opened = load(&warnings);

  EXPECT_EQ(opened, std::vector<std::string>{kFolder + "fine.dylib"});
  EXPECT_EQ(loadedByProbes(), "fine.dylib");
  // The reason is the dynamic linker's, with the device path in place of the host path.
  EXPECT_EQ(warnings.rfind("MS:Warning: cannot load " + kFolder + "bad.dylib: " + kFolder + "bad.dylib: ", 0), 0u)
      << warnings;
  EXPECT_EQ(warnings.find(root_.string()), std::string::npos) << warnings;
  EXPECT_EQ(warnings.back(), '\n');
}

TEST_F(Loader, IgnoresOtherFilesAndFolders) {
  library("tool.so");
  library("notes.txt");
  fs::create_directory(folder_ / "folder.dylib");
  file("lonely.plist", kSpringBoardFilter);

  std::string warnings;
  EXPECT_TRUE(load(&warnings).empty());
  EXPECT_EQ(loadedByProbes(), "");
  EXPECT_EQ(warnings, "");
}

TEST_F(Loader, AMissingFolderLoadsNothing) {
  fs::remove_all(root_ / "Library");
  std::string warnings;
  EXPECT_TRUE(load(&warnings).empty());
  EXPECT_EQ(warnings, "");
}

}  // namespace
