#include "platform/text.h"

#include <algorithm>
#include <cctype>

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

}  // namespace platform
