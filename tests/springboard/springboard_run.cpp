#include "springboard_run.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace springboard_e2e {

e2e::Result runScript(const e2e::TemporaryDevice& device, const std::string& script, Extensions extensions) {
  std::vector<std::string> argv{e2e::program("springboard")};
  if (extensions == Extensions::none) argv.push_back("--no-extensions");
  argv.push_back("-c");
  argv.push_back(script);
  return e2e::run(device, argv);
}

void writeIconState(const e2e::TemporaryDevice& device, const platform::plist::Value& value) {
  std::ofstream(device.host(kIconStatePath), std::ios::trunc) << platform::plist::toXml(value);
}

std::optional<platform::plist::Value> readIconState(const e2e::TemporaryDevice& device) {
  // A missing file gives no bytes, and no bytes are no property list.
  return platform::plist::parse(e2e::fileBytes(device.host(kIconStatePath)));
}

bool iconStateExists(const e2e::TemporaryDevice& device) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(device.host(kIconStatePath), error));
}

std::string editModeLine(const std::string& statusOutput) {
  std::istringstream lines(statusOutput);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("edit mode: ", 0) == 0) return line;
  return "";
}

}  // namespace springboard_e2e
