#pragma once

// Where an outside service is: built into each network tool, unless an
// environment variable names another (where the built-in one has gone). The
// value is checked before anything is sent.

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

// The URL in the environment variable, or fallback when it is unset or empty.
// A value must begin with "http://" or "https://", name a host, hold only
// printable ASCII without blanks, and for a base nothing more than a base.
ServiceUrl serviceUrl(const char* variable, const std::string& fallback, ServiceUrlKind kind);

}  // namespace platform
