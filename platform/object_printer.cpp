#include "platform/object_printer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xfffd;

// The UTF-8 character starting at text[i], advancing i past it; a byte that
// does not start a well-formed character (overlong forms and surrogates
// included) is one replacement character.
char32_t nextCharacter(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  unsigned char lead = byte(i);
  std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
  char32_t c = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0f : lead & 0x1f;
  if (length == 1 || lead > 0xf4 || i + length > text.size()) {
    ++i;
    return length == 1 && lead < 0x80 ? lead : kReplacement;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xc0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (byte(i + k) & 0x3f);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return c;
}

void putUnit(char32_t unit, std::string& out) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
  out += escaped;
}

std::string printable(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = nextCharacter(text, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x10000) {
      putUnit(c, out);
    } else {
      putUnit(0xd800 + ((c - 0x10000) >> 10), out);
      putUnit(0xdc00 + ((c - 0x10000) & 0x3ff), out);
    }
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
