#include "platform/object_printer.h"

#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {
namespace {

// Each UTF-16 unit beyond 7-bit ASCII as \uXXXX, each byte that does not
// belong to a well-formed character as \ufffd.
std::string printable(std::string_view text) {
  std::string out;
  std::u16string units = *utf16Units(text, true);
  for (char16_t unit : units) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
    out += escaped;
  }
  return out;
}

}  // namespace

void show(const plist::Value* object, std::FILE* stream) {
  std::string text = object ? printable(plist::description(*object)) : "(null)";
  if (text.empty() || text.back() != '\n') text += '\n';
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace platform
