// layoutkeeper opened in a process without SpringBoard's classes: the hook
// installer warns and nothing else happens.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <objc/runtime.h>

#include <string>

namespace {

TEST(LayoutKeeperLoad, WithoutTheIconModelClassItOnlyWarns) {
  ASSERT_EQ(objc_getClass("SBIconModel"), Nil);
  testing::internal::CaptureStderr();
  void* handle = dlopen(LAYOUTKEEPER_DYLIB, RTLD_LAZY | RTLD_GLOBAL);
  std::string warnings = testing::internal::GetCapturedStderr();
  ASSERT_NE(handle, nullptr) << dlerror();
  EXPECT_EQ(warnings, "MS:Warning: nil class argument for deleteIconState\n");
  // It exports nothing: its initializer was its only entry.
  EXPECT_EQ(dlsym(handle, "replacementDeleteIconState"), nullptr);
  EXPECT_EQ(dlsym(handle, "previousDeleteIconState"), nullptr);
}

}  // namespace
