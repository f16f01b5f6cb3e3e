#pragma once

// The applications SpringBoard can show: the bundles of the stock applications
// folder and of each container of the user applications, by identifier.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

struct AppInfo {
  std::string displayName;
  std::string iconPath;          // a device path; the file may be missing or unreadable
  std::string launchImagePath;   // "Default.png" of the bundle, as iconPath
  bool prerenderedIcon = false;  // the bundle's icon carries its own shine
};

class AppCatalog {
 public:
  // Reads the bundle descriptions of "/Applications/" and
  // "/var/mobile/Applications/<container>/". Where bundles share an
  // identifier, the first wins: a stock application before a user's, and
  // otherwise in the byte order of the containers' and bundles' names, so
  // the order in which the folders list them never matters.
  static AppCatalog scan();

  // The application of an icon-state identifier. An identifier that names no
  // bundle but ends in "-Role" (as "com.apple.mobileslideshow-Camera") is that
  // role of the bundle before the dash: named Role, with the bundle's
  // "Icon-Role.png" when it has one.
  std::optional<AppInfo> find(std::string_view identifier) const;

  // Every bundle, by identifier: its bundle folder's device path and what it shows.
  struct Application {
    std::string identifier;
    std::string path;
    AppInfo app;
  };
  std::vector<Application> applications() const;

 private:
  struct Bundle {
    std::string path;  // device path of the bundle folder
    AppInfo app;
  };
  std::map<std::string, Bundle, std::less<>> bundles_;

  void add(const std::string& bundlePath);
};

}  // namespace screen
