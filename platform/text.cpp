#include "platform/text.h"

#include <algorithm>

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

}  // namespace platform
