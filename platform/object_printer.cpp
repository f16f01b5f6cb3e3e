#include "platform/object_printer.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xfffd;

// The UTF-8 character starting at text[i], advancing i past it; a byte that
// does not start a well-formed character is one replacement character.
char32_t nextCharacter(std::string_view text, std::size_t& i) {
  std::size_t invalidLength;
  std::size_t length = utf8SequenceLength(text.substr(i), invalidLength);
  if (length == 0) {
    ++i;
    return kReplacement;
  }
  char32_t c = decodeUtf8Sequence(text.substr(i, length));
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
