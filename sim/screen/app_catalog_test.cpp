#include "app_catalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/plist_literals.h"
#include "tests/support/scratch_root.h"

namespace {

using namespace plist_literals;
namespace fs = std::filesystem;

class AppCatalogTest : public ::testing::Test {
 protected:
  void bundle(const std::string& path, const platform::plist::Value& description) {
    fs::create_directories(scratch_.path() / path);
    std::ofstream(scratch_.path() / path / "Info.plist") << platform::plist::toXml(description);
  }
  ScratchRoot scratch_;
};

TEST_F(AppCatalogTest, StockAndUserBundlesAreFoundByIdentifier) {
  bundle("Applications/MobileMail.app",
         dictionary({{"CFBundleIdentifier", "com.a.mail"}, {"CFBundleDisplayName", "Mail"}}));
  bundle("private/var/mobile/Applications/G1/MyApp.APP",
         dictionary({{"CFBundleIdentifier", "com.b.my"}, {"CFBundleName", "Mine"}, {"UIPrerenderedIcon", true}}));
  bundle("private/var/mobile/Applications/G2/Plain.app", dictionary({{"CFBundleIdentifier", "com.b.plain"}}));
  fs::create_symlink("private/var", scratch_.path() / "var");
  auto catalog = screen::AppCatalog::scan();

  auto mail = catalog.find("com.a.mail");
  ASSERT_TRUE(mail);
  EXPECT_EQ(mail->displayName, "Mail");
  EXPECT_EQ(mail->iconPath, "/Applications/MobileMail.app/Icon.png");
  EXPECT_FALSE(mail->prerenderedIcon);
  auto mine = catalog.find("com.b.my");
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->displayName, "Mine");
  EXPECT_TRUE(mine->prerenderedIcon);
  EXPECT_EQ(catalog.find("com.b.plain")->displayName, "Plain") << "the folder's name when the bundle gives none";
  EXPECT_FALSE(catalog.find("com.c.none"));
}

TEST_F(AppCatalogTest, ARoleSuffixNamesItsBundleWithItsOwnNameAndIcon) {
  bundle("Applications/MobileSlideShow.app", dictionary({{"CFBundleIdentifier", "com.a.slides"}}));
  std::ofstream(scratch_.path() / "Applications/MobileSlideShow.app/Icon-Camera.png") << "png";
  auto catalog = screen::AppCatalog::scan();
  struct Case {
    const char* identifier;
    std::optional<std::string> name, icon;
  };
  for (const Case& c :
       {Case{"com.a.slides-Photos", "Photos", "/Applications/MobileSlideShow.app/Icon.png"},
        Case{"com.a.slides-Camera", "Camera", "/Applications/MobileSlideShow.app/Icon-Camera.png"},
        Case{"com.a.slides-", std::nullopt, std::nullopt}, Case{"com.a.other-Photos", std::nullopt, std::nullopt}}) {
    auto app = catalog.find(c.identifier);
    EXPECT_EQ(app ? std::optional(app->displayName) : std::nullopt, c.name) << c.identifier;
    EXPECT_EQ(app ? std::optional(app->iconPath) : std::nullopt, c.icon) << c.identifier;
  }
}

TEST_F(AppCatalogTest, ASharedIdentifierIsTheStockBundlesElseTheFirstByNameWhateverOrderTheFoldersList) {
  // The winners are made neither first nor last: listed as made, either way, another would win.
  const std::string user = "private/var/mobile/Applications/";
  for (const auto& [path, identifier] :
       std::initializer_list<std::pair<std::string, const char*>>{{user + "M/X.app", "com.b.twin"},
                                                                  {user + "A1/Z.app", "com.b.twin"},
                                                                  {user + "A1/Y.app", "com.b.twin"},
                                                                  {user + "A1/Zz.app", "com.b.twin"},
                                                                  {user + "Z/X.app", "com.b.twin"},
                                                                  {user + "C/Mail.app", "com.a.mail"},
                                                                  {"Applications/Mail.app", "com.a.mail"}})
    bundle(path, dictionary({{"CFBundleIdentifier", identifier}}));
  fs::create_symlink("private/var", scratch_.path() / "var");
  auto catalog = screen::AppCatalog::scan();
  EXPECT_EQ(catalog.find("com.b.twin")->launchImagePath, "/var/mobile/Applications/A1/Y.app/Default.png");
  EXPECT_EQ(catalog.find("com.a.mail")->iconPath, "/Applications/Mail.app/Icon.png");
}

TEST_F(AppCatalogTest, ADescriptionThatIsAPipeIsPassedOverWithoutWaiting) {
  fs::create_directories(scratch_.path() / "Applications/Pipe.app");
  ASSERT_EQ(mkfifo((scratch_.path() / "Applications/Pipe.app/Info.plist").c_str(), 0644), 0);
  bundle("Applications/Good.app", dictionary({{"CFBundleIdentifier", "com.a.good"}}));
  EXPECT_TRUE(screen::AppCatalog::scan().find("com.a.good"));
}

}  // namespace
