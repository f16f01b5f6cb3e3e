#include "platform/service_url.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

// Why value cannot be the service's URL, or nothing when it can.
std::optional<std::string> problem(std::string_view value, ServiceUrlKind kind) {
  if (std::any_of(value.begin(), value.end(), [](unsigned char c) { return c <= ' ' || c >= 0x7f; }))
    return "holds a blank, a control character or a byte outside ASCII";
  std::size_t schemeLength = value.starts_with("http://") ? 7 : value.starts_with("https://") ? 8 : 0;
  if (schemeLength == 0) return "is not an http:// or https:// URL";
  std::string_view rest = value.substr(schemeLength);
  std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  std::size_t userEnd = authority.rfind('@');
  std::string_view hostAndPort = userEnd == std::string_view::npos ? authority : authority.substr(userEnd + 1);
  if (hostAndPort.empty() || hostAndPort.front() == ':') return "has no host";
  // A tool that puts credentials into the user part, or its own path after
  // the prefix, must find neither a user part nor anything after the path.
  if (kind == ServiceUrlKind::base &&
      (userEnd != std::string_view::npos || rest.find_first_of("?#") != std::string_view::npos))
    return "is a base URL and cannot have a user part, a query or a fragment";
  return std::nullopt;
}

}  // namespace

ServiceUrl serviceUrl(const char* variable, const std::string& fallback, ServiceUrlKind kind) {
  const char* value = std::getenv(variable);
  if (!value || !*value) return {fallback, ""};
  if (std::optional<std::string> why = problem(value, kind)) return {std::nullopt, std::string(variable) + " " + *why};
  std::string url = value;
  // The host is there, so the scheme's slashes are never reached.
  if (kind == ServiceUrlKind::base)
    while (url.back() == '/') url.pop_back();
  return {url, ""};
}

}  // namespace platform
