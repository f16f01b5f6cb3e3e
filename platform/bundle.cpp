#include "platform/bundle.h"

namespace platform {

std::optional<plist::Dictionary> bundleDescription(std::string_view bundlePath) {
  return plist::readDictionary(std::string(bundlePath) + "/Info.plist");
}

std::optional<std::string> bundleIdentifier(const plist::Dictionary& description) {
  const plist::Value* id = description.find("CFBundleIdentifier");
  const std::string* text = id ? id->get<std::string>() : nullptr;
  if (!text) return std::nullopt;
  return *text;
}

}  // namespace platform
