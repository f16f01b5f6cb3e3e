#include "platform/url_escape.h"

namespace platform {
namespace {

bool isAsciiAlphanumeric(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool staysInUrl(unsigned char c) {
  return isAsciiAlphanumeric(c) || std::string_view("-_.!~*'()").find(c) != std::string_view::npos ||
         std::string_view(";/?:@&=+$,").find(c) != std::string_view::npos;
}

// Escapes every byte that the URL escaping escapes and every byte of alsoEscaped.
std::string escape(std::string_view text, std::string_view alsoEscaped) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (staysInUrl(c) && alsoEscaped.find(static_cast<char>(c)) == std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xf];
    }
  }
  return out;
}

}  // namespace

std::string escapeForUrl(std::string_view text) { return escape(text, {}); }

std::string escapeForQueryValue(std::string_view text) { return escape(text, "&+=;"); }

std::string escapeForUserInfo(std::string_view text) { return escape(text, ":@/?#[]%"); }

}  // namespace platform
