#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace platform {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view lastComponent(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::size_t extensionDot(std::string_view component) {
  std::size_t dot = component.rfind('.');
  return dot == 0 ? std::string_view::npos : dot;
}

// The length in bytes of the well-formed UTF-8 character at the front of text
// (not empty), or 0 when the front is ill-formed: an overlong form, a
// surrogate, a code point beyond U+10FFFF or a sequence cut short.
// invalidLength is then how many bytes the ill-formed part covers (the longest
// start of a sequence that could still have been valid, at least 1).
std::size_t utf8SequenceLength(std::string_view text, std::size_t& invalidLength) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  invalidLength = 1;
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xbf;  // the range of the second byte
  if (lead >= 0xc2 && lead <= 0xdf) length = 2;
  else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    if (lead == 0xe0) low = 0xa0;   // no overlong forms
    if (lead == 0xed) high = 0x9f;  // no surrogates
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    if (lead == 0xf0) low = 0x90;
    if (lead == 0xf4) high = 0x8f;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return 0;
    unsigned char c = byte(i);
    bool fits = i == 1 ? c >= low && c <= high : c >= 0x80 && c <= 0xbf;
    if (!fits) return 0;
    invalidLength = i + 1;
  }
  return length;
}

// The text with each well-formed character, and each ill-formed part (as an
// empty view), replaced by what shown gives for it.
template <class Shown>
std::string mapCharacters(std::string_view text, Shown shown) {
  std::string out;
  out.reserve(text.size());
  std::size_t invalidLength;
  while (!text.empty()) {
    std::size_t length = utf8SequenceLength(text, invalidLength);
    out += shown(text.substr(0, length));
    text.remove_prefix(length ? length : invalidLength);
  }
  return out;
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view pathExtension(std::string_view path) {
  std::string_view component = lastComponent(path);
  std::size_t dot = extensionDot(component);
  return dot == std::string_view::npos ? std::string_view() : component.substr(dot + 1);
}

std::string_view displayNameOf(std::string_view path) {
  std::string_view component = lastComponent(path);
  return component.substr(0, extensionDot(component));
}

std::optional<std::int32_t> int32LikeAtoi(const char* text) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::int64_t magnitude = 0;
  constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;  // the size of INT32_MIN
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::size_t utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xc0) == 0x80) continue;  // continues the character before
    units += c >= 0xf0 ? 2 : 1;
  }
  return units;
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool holdsControlXmlCannotCarry(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; });
}

std::optional<std::u16string> utf16Units(std::string_view text, bool replaceInvalid) {
  constexpr unsigned char kLeadBits[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
  std::u16string units;
  std::size_t invalidLength;
  while (!text.empty()) {
    std::size_t length = utf8SequenceLength(text, invalidLength);
    if (length == 0 && !replaceInvalid) return std::nullopt;
    char32_t c = length ? static_cast<unsigned char>(text[0]) & kLeadBits[length] : 0xfffd;
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[k]) & 0x3f);
    text.remove_prefix(length ? length : 1);
    if (c >= 0x10000) units += static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10));
    units += static_cast<char16_t>(c < 0x10000 ? c : 0xdc00 + ((c - 0x10000) & 0x3ff));
  }
  return units;
}

bool isValidUtf8(std::string_view text) { return utf16Units(text, false).has_value(); }

std::string replacingInvalidUtf8(std::string_view text) {
  return mapCharacters(text, [](std::string_view character) {
    return character.empty() ? std::string_view("\xef\xbf\xbd") : character;  // U+FFFD REPLACEMENT CHARACTER
  });
}

std::string printableOnTerminal(std::string_view text) {
  return mapCharacters(text, [](std::string_view character) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
    bool control = character.empty() ||                                               // ill-formed
                   (character.size() == 1 && (byte(0) < 0x20 || byte(0) == 0x7f)) ||  // C0 and DEL
                   (character.size() == 2 && byte(0) == 0xc2 && byte(1) < 0xa0);      // C1: U+0080-U+009F
    return control ? std::string_view("?") : character;
  });
}

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kKiB = 1024, kMiB = 1024 * kKiB;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string escapeControlBytes(std::string_view text, ControlEscapes escapes) {
  const bool field = escapes == ControlEscapes::field;
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (field && c == '\\') out += "\\\\";
    else if (field && c == '\t') out += "\\t";
    else if (field && c == '\n') out += "\\n";
    else if (c < 0x20 || (c == 0x7f && !field)) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02x", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace platform
