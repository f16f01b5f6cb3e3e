#include "filter_file.h"

#import <Foundation/Foundation.h>

#include <cstddef>

#include "platform/device_path.h"
#include "platform/file.h"
#include "platform/object_bridge.h"

namespace substrate {

namespace {

using platform::plist::Value;

// XML and binary lists are the kit's reader's; what starts otherwise is
// OpenStep text.
bool isOpenStepText(std::string_view bytes) {
  if (bytes.starts_with("bplist")) return false;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::size_t first = bytes.find_first_not_of(" \t\r\n");
  return first == std::string_view::npos || bytes[first] != '<';
}

// The deepest nesting of OpenStep text's dictionaries and arrays, quoted text
// and comments left out. Foundation's reader descends as deep as the text
// goes, so text beyond the budget never reaches it.
std::size_t nestingDepth(std::string_view text) {
  std::size_t depth = 0, deepest = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    char c = text[at];
    if (c == '"') {
      while (++at < text.size() && text[at] != '"')
        if (text[at] == '\\') ++at;
    } else if (c == '/' && at + 1 < text.size() && text[at + 1] == '*') {
      at = std::min(text.find("*/", at + 2), text.size()) + 1;
    } else if (c == '/' && at + 1 < text.size() && text[at + 1] == '/') {
      at = std::min(text.find('\n', at), text.size());
    } else if (c == '{' || c == '(') {
      deepest = std::max(deepest, ++depth);
    } else if ((c == '}' || c == ')') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

std::optional<Value> parseOpenStep(std::string_view bytes, std::string* why) {
  if (nestingDepth(bytes) > platform::plist::kMaxDepth) {
    *why = "nested too deep";
    return std::nullopt;
  }
  platform::AutoreleasePool pool;
  NSData* data = [NSData dataWithBytes:bytes.data() length:bytes.size()];
  NSPropertyListFormat format = NSPropertyListOpenStepFormat;
  NSString* error = nil;
  id plist = [NSPropertyListSerialization propertyListFromData:data
                                              mutabilityOption:NSPropertyListImmutable
                                                        format:&format
                                              errorDescription:&error];
  std::optional<Value> value = plist ? platform::valueOf(plist) : std::nullopt;
  if (!value) *why = plist ? "beyond the reader's budgets" : "not a property list";
  return value;
}

}  // namespace

std::optional<Value> readFilterFile(std::string_view devicePath, std::string* why) {
  std::optional<std::string> bytes =
      platform::readRegularFile(platform::hostPath(devicePath), platform::plist::kMaxFileSize, why);
  if (!bytes) return std::nullopt;
  if (!isOpenStepText(*bytes)) return platform::plist::parse(*bytes, why);
  return parseOpenStep(*bytes, why);
}

}  // namespace substrate
