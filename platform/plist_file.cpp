// Property-list files: the file's bytes through the reader, values through
// the XML writer.

#include "platform/device_path.h"
#include "platform/file.h"
#include "platform/plist.h"
#include "platform/plist_node.h"

namespace platform::plist {

std::optional<Value> read(std::string_view devicePath, std::string* why) {
  auto bytes = readRegularFile(hostPath(devicePath), kMaxFileSize, why);
  if (!bytes) return std::nullopt;
  return parse(*bytes, why);
}

std::optional<Dictionary> readDictionary(std::string_view devicePath, std::string* why) {
  auto value = read(devicePath, why);
  if (value && !value->is<Dictionary>() && why) *why = "not a dictionary";
  if (!value || !value->is<Dictionary>()) return std::nullopt;
  return std::move(*value->get<Dictionary>());
}

WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner) {
  if (whyUnwritable(value)) return WriteResult::failed;
  return writeAtomically(hostPath(devicePath), toXml(value), owner);
}

}  // namespace platform::plist
