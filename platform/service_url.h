#pragma once

// Where an outside service is. Each network tool has its service built in and
// lets the user name another in an environment variable, so that it can reach
// a service of today where the built-in one has gone. The variable's value is
// checked before anything is sent: a mistyped value never reaches the network.

#include <optional>
#include <string>

namespace platform {

enum class ServiceUrlKind {
  // A scheme, a host, an optional port and an optional path prefix, to which
  // the tool adds its own path: no user part, query or fragment. Trailing "/"
  // are dropped, so "https://host/api/" and "https://host/api" are one base.
  base,
  // The whole URL the tool fetches, a query and a user part included.
  whole,
};

// The URL to use, or else why the variable's value is refused: a sentence
// that begins with the variable's name and never repeats the value (it may
// hold a password, or bytes a terminal would act on).
struct ServiceUrl {
  std::optional<std::string> url;
  std::string refusal;
};

// The URL in the environment variable, or fallback as it is when the variable
// is unset or empty. A value is taken when it begins with "http://" or
// "https://", names a host and holds only printable ASCII without blanks,
// and, for a base, holds nothing more than a base does.
ServiceUrl serviceUrl(const char* variable, const std::string& fallback, ServiceUrlKind kind);

}  // namespace platform
