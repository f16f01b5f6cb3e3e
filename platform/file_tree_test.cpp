#include "platform/file_tree.h"
#include "tests/support/scratch_root.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileTreeTest : public ::testing::Test {
 protected:
  void file(const std::string& path) {
    fs::create_directories((root_ / path).parent_path());
    std::ofstream(root_ / path) << "x";
  }
  std::vector<std::string> walk(const std::string& deviceRoot) {
    std::vector<std::string> seen;
    platform::walkTree(deviceRoot, [&](std::string_view p) {
      seen.emplace_back(p);
      return true;
    });
    return seen;
  }
  ScratchRoot scratch_;
  const fs::path& root_ = scratch_.path();
};

TEST_F(FileTreeTest, YieldsEveryEntryOnceRelativeToTheRootDescendingIntoBundles) {
  file("apps/A/Foo.app/Info.plist");
  file("apps/A/Foo.app/Deep/er/file.png");
  file("apps/B/Documents/note.txt");
  fs::create_directories(root_ / "apps/C/empty");
  std::vector<std::string> seen = walk("/apps/");
  std::multiset<std::string> got(seen.begin(), seen.end());
  std::multiset<std::string> want{"A",
                                  "A/Foo.app",
                                  "A/Foo.app/Info.plist",
                                  "A/Foo.app/Deep",
                                  "A/Foo.app/Deep/er",
                                  "A/Foo.app/Deep/er/file.png",
                                  "B",
                                  "B/Documents",
                                  "B/Documents/note.txt",
                                  "C",
                                  "C/empty"};
  EXPECT_EQ(got, want);
  // A folder comes before what it holds.
  auto at = [&](const std::string& p) { return std::find(seen.begin(), seen.end(), p) - seen.begin(); };
  EXPECT_LT(at("A/Foo.app"), at("A/Foo.app/Deep/er/file.png"));
  EXPECT_EQ(walk("/apps"), seen) << "the root's trailing slash makes no difference";
}

TEST_F(FileTreeTest, ReportsLinksWithoutFollowingThem) {
  file("apps/A/Real.app/Info.plist");
  fs::create_directory_symlink("A", root_ / "apps/Loop");
  fs::create_directory_symlink("/", root_ / "apps/Outside");
  std::vector<std::string> seen = walk("/apps/");
  std::multiset<std::string> got(seen.begin(), seen.end());
  EXPECT_EQ(got, (std::multiset<std::string>{"A", "A/Real.app", "A/Real.app/Info.plist", "Loop", "Outside"}));
}

TEST_F(FileTreeTest, TheRootItselfMayBeReachedThroughALink) {
  file("private/var/apps/X.app/Info.plist");
  fs::create_directory_symlink("private/var", root_ / "var");
  EXPECT_EQ(walk("/var/apps/").size(), 2u);
}

TEST_F(FileTreeTest, SkipsUnreadableFoldersAndGoesOn) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  file("apps/Locked/secret");
  file("apps/Open/visible");
  fs::permissions(root_ / "apps/Locked", fs::perms::none);
  std::vector<std::string> seen = walk("/apps/");
  fs::permissions(root_ / "apps/Locked", fs::perms::owner_all);
  std::multiset<std::string> got(seen.begin(), seen.end());
  EXPECT_EQ(got, (std::multiset<std::string>{"Locked", "Open", "Open/visible"}));
}

TEST_F(FileTreeTest, AFolderThatCannotBeOpenedIsSkippedAndReportedEvenForRoot) {
  file("apps/Gone/inside");
  file("apps/Kept/inside");
  std::vector<std::string> seen;
  testing::internal::CaptureStderr();
  platform::walkTree("/apps/", [&](std::string_view p) {
    seen.emplace_back(p);
    if (p == "Gone") fs::remove_all(root_ / "apps/Gone");  // vanishes before it is opened
    return true;
  });
  std::string err = testing::internal::GetCapturedStderr();
  std::multiset<std::string> got(seen.begin(), seen.end());
  EXPECT_EQ(got, (std::multiset<std::string>{"Gone", "Kept", "Kept/inside"}));
  EXPECT_EQ(err, program_invocation_short_name + std::string(": cannot open /apps/Gone: No such file or directory\n"));
}

// Lowers the limit on open descriptors for as long as it lives.
class DescriptorLimit {
 public:
  explicit DescriptorLimit(rlim_t limit) {
    getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    EXPECT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  }
  ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }

 private:
  rlimit saved_;
};

// The lowest descriptor number free now: how many the process holds.
int descriptorsInUse() {
  int fd = dup(0);
  close(fd);
  return fd;
}

TEST_F(FileTreeTest, AFolderThatCannotBeOpenedForWantOfDescriptorsIsReported) {
  file("apps/Child/inside");
  std::vector<std::string> seen;
  testing::internal::CaptureStderr();
  {
    DescriptorLimit onlyTheRoot(descriptorsInUse() + 1);
    seen = walk("/apps/");
  }
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(seen, std::vector<std::string>{"Child"});
  EXPECT_EQ(err, program_invocation_short_name + std::string(": cannot open /apps/Child: Too many open files\n"));
}

TEST_F(FileTreeTest, ADeepTreeIsWalkedWholeInTheFoldersOwnOrderWithFewDescriptors) {
  // 300 folders deep, with files, links and side folders along the way.
  fs::path folder = root_ / "apps";
  std::string chain;
  for (int level = 0; level < 300; ++level) {
    fs::create_directories(folder / "d");
    std::ofstream(folder / ("file" + std::to_string(level))) << "x";
    if (level % 7 == 0) {
      fs::create_directories(folder / "side" / "inner");
      std::ofstream(folder / "side" / "inner" / "leaf") << "x";
      fs::create_directory_symlink(".", folder / "side" / "loop");
    }
    folder /= "d";
  }
  fs::create_directories(folder / "Deep.app");
  std::ofstream(folder / "Deep.app" / "Info.plist") << "x";

  // The same tree in the same order, as the standard library walks it.
  std::vector<std::string> expected;
  for (const auto& entry : fs::recursive_directory_iterator(root_ / "apps"))
    expected.push_back(entry.path().lexically_relative(root_ / "apps").string());

  std::vector<std::string> seen;
  testing::internal::CaptureStderr();
  {
    DescriptorLimit few(descriptorsInUse() + 24);
    seen = walk("/apps/");
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(seen.size(), expected.size());
  EXPECT_TRUE(seen == expected) << "same entries in the same order";
  EXPECT_NE(
      std::find_if(seen.begin(), seen.end(), [](const std::string& p) { return p.ends_with("/Deep.app/Info.plist"); }),
      seen.end());
}

TEST_F(FileTreeTest, ADeepWalkStopsWhenAsked) {
  fs::path folder = root_ / "apps";
  for (int level = 0; level < 60; ++level) folder /= "d" + std::to_string(level);
  fs::create_directories(folder / "a" / "b");
  fs::create_directories(folder / "c");
  std::vector<std::string> seen;
  platform::walkTree("/apps/", [&](std::string_view p) {
    seen.emplace_back(p);
    return !p.ends_with("/a");
  });
  EXPECT_TRUE(seen.back().ends_with("/d59/a")) << seen.back();
  EXPECT_LE(seen.size(), 62u) << "nothing after the stop";
}

TEST_F(FileTreeTest, StopsWhenAskedAndYieldsNothingForAMissingRoot) {
  file("apps/A/1");
  file("apps/B/2");
  int calls = 0;
  platform::walkTree("/apps/", [&](std::string_view) { return ++calls < 2; });
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(walk("/missing/").empty());
  file("plainfile");
  EXPECT_TRUE(walk("/plainfile").empty());
}

TEST_F(FileTreeTest, FileExistsForFilesFoldersAndDanglingLinks) {
  file("Applications/Mail.app/Info.plist");
  fs::create_symlink("nowhere", root_ / "dangling");
  EXPECT_TRUE(platform::fileExists("/Applications/Mail.app"));
  EXPECT_TRUE(platform::fileExists("/Applications/Mail.app/Info.plist"));
  EXPECT_TRUE(platform::fileExists("/dangling"));
  EXPECT_FALSE(platform::fileExists("/Applications/Nope.app"));
}

TEST_F(FileTreeTest, AFileLargerThanAThirtyTwoBitOffsetExists) {
  {
    std::ofstream huge(root_ / "huge", std::ios::binary);
    huge.seekp(std::streamoff{3} << 30);  // sparse: takes no room
    huge.put('x');
  }
  ASSERT_GT(fs::file_size(root_ / "huge"), std::uintmax_t{1} << 31);
  EXPECT_TRUE(platform::fileExists("/huge"));
}

TEST_F(FileTreeTest, DirectoryContentsAreTheTopLevelNamesInTheFoldersOwnOrder) {
  for (const char* name : {"b.png", "a.png", "Z.txt", "m.png"}) file(std::string("Bundle.app/") + name);
  file("Bundle.app/English.lproj/inner.png");
  fs::create_symlink("a.png", root_ / "Bundle.app/link.png");
  std::vector<std::string> folderOrder;
  for (const auto& entry : fs::directory_iterator(root_ / "Bundle.app")) folderOrder.push_back(entry.path().filename());
  EXPECT_EQ(platform::directoryContents("/Bundle.app"), folderOrder);
  EXPECT_EQ(platform::directoryContents("/Bundle.app/"), folderOrder);
  std::multiset<std::string> got(folderOrder.begin(), folderOrder.end());
  EXPECT_EQ(got, (std::multiset<std::string>{"a.png", "b.png", "Z.txt", "m.png", "English.lproj", "link.png"}));
}

TEST_F(FileTreeTest, DirectoryContentsOfAMissingFolderOrAFileAreEmpty) {
  file("plainfile");
  fs::create_directories(root_ / "empty");
  EXPECT_TRUE(platform::directoryContents("/missing").empty());
  EXPECT_TRUE(platform::directoryContents("/plainfile").empty());
  EXPECT_TRUE(platform::directoryContents("/empty").empty());
  fs::create_directory_symlink("empty", root_ / "viaLink");
  file("empty/inside");
  EXPECT_EQ(platform::directoryContents("/viaLink"), std::vector<std::string>{"inside"}) << "the folder may be a link";
}

}  // namespace
