#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "loader.h"
#include "substrate.h"
#include "tests/support/scratch_root.h"

extern "C" int hookTargetTriple(int value);
extern "C" int substrateProbeMarker();

namespace {

MSImageRef imageOf(const void* address) {
  Dl_info info{};
  return dladdr(address, &info) ? info.dli_fbase : nullptr;
}

struct Lookup {
  const char* test;
  const char* name;
  bool inTheLibraryOnly;  // searched for in the test library's image, else in every image
  bool found;
};

void PrintTo(const Lookup& lookup, std::ostream* out) { *out << lookup.test; }

class FindSymbol : public testing::TestWithParam<Lookup> {};

TEST_P(FindSymbol, AnswersWhatTheSymbolTablesHold) {
  const Lookup& lookup = GetParam();
  MSImageRef library = imageOf(reinterpret_cast<void*>(hookTargetTriple));
  ASSERT_NE(library, nullptr);
  void* found = MSFindSymbol(lookup.inTheLibraryOnly ? library : nullptr, lookup.name);
  EXPECT_EQ(found != nullptr, lookup.found);
  if (found) {
    EXPECT_EQ(imageOf(found), library);
  }
}

INSTANTIATE_TEST_SUITE_P(Symbols, FindSymbol,
                         testing::Values(Lookup{"Exported", "_hookTargetTriple", true, true},
                                         Lookup{"FileLocal", "_hookTargetScaled", true, true},  // in .symtab only
                                         Lookup{"InAnyImage", "_hookTargetTriple", false, true},
                                         Lookup{"WithoutTheUnderscore", "hookTargetTriple", false, false},
                                         Lookup{"Missing", "_hookTargetNowhere", false, false}),
                         [](const testing::TestParamInfo<Lookup>& info) { return info.param.test; });

TEST(FindSymbol, AnExportedSymbolIsTheFunctionCallersReach) {
  EXPECT_EQ(MSFindSymbol(nullptr, "_hookTargetTriple"), reinterpret_cast<void*>(hookTargetTriple));
}

TEST(GetImageByName, FindsALibraryLoadedFromTheDeviceRootAndNothingElse) {
  ScratchRoot root;
  std::filesystem::create_directories(root.path() / "usr/lib");
  std::filesystem::copy_file(SUBSTRATE_PROBE, root.path() / "usr/lib/libprobe.dylib");
  void* handle = dlopen((root.path() / "usr/lib/libprobe.dylib").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();

  MSImageRef image = MSGetImageByName("/usr/lib/libprobe.dylib");
  EXPECT_NE(image, nullptr);
  EXPECT_EQ(image, imageOf(dlsym(handle, "substrateProbeMarker")));
  EXPECT_EQ(MSGetImageByName("/usr/lib/../lib/libprobe.dylib"), image);
  EXPECT_EQ(MSGetImageByName("/usr/lib/libmissing.dylib"), nullptr);
  dlclose(handle);
}

TEST(GetImageByName, SpringBoardsProgramAnswersForItsDevicePath) {
  ScratchRoot root;  // no extensions to load
  substrate::loadExtensions({{"com.apple.springboard"}, "SpringBoard", 478.52, {}}, "springboard");

  EXPECT_EQ(MSGetImageByName("/System/Library/CoreServices/SpringBoard.app/SpringBoard"),
            imageOf(reinterpret_cast<void*>(imageOf)));
}

}  // namespace
