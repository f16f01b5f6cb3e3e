#include "bindings/framework.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

using bindings::Framework;

// The test library's host file, opened through the device root that holds it.
const std::filesystem::path kLibrary = FRAMEWORK_TEST_LIBRARY;

class FrameworkTest : public testing::Test {
 protected:
  void SetUp() override { setenv("SBKIT_ROOT", kLibrary.parent_path().c_str(), 1); }
  void TearDown() override { unsetenv("SBKIT_ROOT"); }

  static Framework open() { return Framework::open("/" + kLibrary.filename().string()); }
  // Whether the library is still loaded in this process.
  static bool loaded() {
    void* handle = dlopen(kLibrary.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
  }
};

TEST_F(FrameworkTest, TheLibraryIsClosedWhenTheHandleGoes) {
  {
    Framework framework = open();
    ASSERT_TRUE(framework.isOpen());
    EXPECT_NE(framework.symbol("frameworkTestEntryPoint"), nullptr);
    EXPECT_TRUE(loaded());
  }
  EXPECT_FALSE(loaded());
}

TEST_F(FrameworkTest, AMovedHandleClosesTheLibraryOnce) {
  {
    Framework second = [] {
      Framework first = open();
      return Framework(std::move(first));
    }();
    EXPECT_TRUE(loaded()) << "the moved-from handle closed it";
    EXPECT_TRUE(second.isOpen());
  }
  EXPECT_FALSE(loaded());
}

TEST_F(FrameworkTest, KeepOpenLeavesTheLibraryLoaded) {
  {
    Framework framework = open();
    framework.keepOpen();
    EXPECT_FALSE(framework.isOpen());
  }
  EXPECT_TRUE(loaded());
}

TEST_F(FrameworkTest, AMissingLibraryIsNotOpen) {
  Framework framework = Framework::open("/no/such/library");
  EXPECT_FALSE(framework.isOpen());
  EXPECT_EQ(framework.symbol("anything"), nullptr);
  EXPECT_EQ(framework.devicePath(), "/no/such/library");
}

}  // namespace
