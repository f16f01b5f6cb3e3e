#include "tools/iconcount/app_lookup.h"
#include "tests/support/scratch_root.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

class AppLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "private/var/mobile/Applications");
    fs::create_directory_symlink("private/var", root_ / "var");
  }
  void folder(const std::string& devicePath) { fs::create_directories(root_ / fs::path(devicePath).relative_path()); }
  ScratchRoot scratch_;
  const fs::path& root_ = scratch_.path();
};

TEST_F(AppLookupTest, TableNamesGiveTheirBundlePathsSilently) {
  CaptureStdout();
  EXPECT_EQ(iconcount::bundlePathOf("photos"), "/Applications/MobileSlideShow.app");
  EXPECT_EQ(iconcount::bundlePathOf("Camera"), "/Applications/MobileSlideShow.app");
  EXPECT_EQ(iconcount::bundleIdOf("Photos"), "com.apple.mobileslideshow-Photos");
  EXPECT_EQ(iconcount::bundleIdOf("Camera"), "com.apple.mobileslideshow-Camera");
  EXPECT_EQ(iconcount::bundlePathOf("MUSIC"), "/Applications/MobileMusicPlayer.app");
  EXPECT_EQ(GetCapturedStdout(), "");
}

TEST_F(AppLookupTest, OtherNamesTryTheStockFolderBeforeTheWalk) {
  folder("/Applications/MobileMail.app");
  folder("/var/mobile/Applications/G1/MobileMail.app");
  CaptureStdout();
  EXPECT_EQ(iconcount::bundlePathOf("MobileMail"), "/Applications/MobileMail.app");
  EXPECT_EQ(GetCapturedStdout(), "Searching for application id (this can take some time)\n");
}

TEST_F(AppLookupTest, UserBundlePathsJoinTheRootAndTheRelativePath) {
  folder("/var/mobile/Applications/G1/Sub/MyApp.app/Nested.app");
  CaptureStdout();
  EXPECT_EQ(iconcount::bundlePathOf("MyApp"), "/var/mobile/Applications/G1/Sub/MyApp.app");
  EXPECT_EQ(iconcount::bundlePathOf("Nested"), "/var/mobile/Applications/G1/Sub/MyApp.app/Nested.app");
  EXPECT_EQ(iconcount::bundlePathOf("Sub"), std::nullopt) << "a folder without the extension is no bundle";
  GetCapturedStdout();
}

TEST_F(AppLookupTest, AnIdentifierThatIsNoStringCountsAsNone) {
  folder("/var/mobile/Applications/G1/Odd.app");
  std::ofstream(root_ / "private/var/mobile/Applications/G1/Odd.app/Info.plist")
      << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
         "<integer>5</integer></dict></plist>";
  CaptureStdout();
  EXPECT_EQ(iconcount::bundleIdOf("Odd"), std::nullopt);
  GetCapturedStdout();
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  iconcount::listUserApplications(out);
  fclose(out);
  EXPECT_STREQ(text, "User Applications:\n                 Odd\t\n");
  free(text);
}

// What listUserApplications writes through a pipe (terminal false) or to a pseudo-terminal
// in raw mode, which passes the bytes on unchanged (terminal true).
std::string listedThrough(bool terminal) {
  int readEnd, writeEnd;
  if (terminal) {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&readEnd, &writeEnd, nullptr, &raw, nullptr) != 0) ADD_FAILURE() << "no pseudo-terminal";
  } else {
    int ends[2];
    if (pipe(ends) != 0) ADD_FAILURE() << "no pipe";
    readEnd = ends[0];
    writeEnd = ends[1];
  }
  FILE* out = fdopen(writeEnd, "w");
  iconcount::listUserApplications(out);
  fflush(out);
  std::string text;
  char buffer[4096];
  pollfd ready{readEnd, POLLIN, 0};
  while (poll(&ready, 1, 200) > 0) {
    ssize_t n = read(readEnd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  fclose(out);
  close(readEnd);
  return text;
}

TEST_F(AppLookupTest, TheListingShowsControlCharactersAsQuestionMarksOnATerminalOnly) {
  const std::string name = "Fake\n           Row\x1b[2J";
  folder("/var/mobile/Applications/G1/" + name + ".app");
  std::ofstream(root_ / "private/var/mobile/Applications/G1" / (name + ".app") / "Info.plist")
      << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
         "<string>com.example.\t\xc2\x9b"
         "2J</string></dict></plist>";
  EXPECT_EQ(listedThrough(true), "User Applications:\nFake?           Row?[2J\tcom.example.??2J\n");
  EXPECT_EQ(listedThrough(false), "User Applications:\n" + name +
                                      "\tcom.example.\t\xc2\x9b"
                                      "2J\n")
      << "byte for byte through a pipe";
}

}  // namespace
