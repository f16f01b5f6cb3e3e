#pragma once

// Synchronous HTTP through the system's URL loading, with basic
// authentication from a URL's user part and the environment's proxy
// ("http_proxy", "no_proxy"). Every request times out after 60 seconds, or
// the positive number of seconds in SBKIT_HTTP_TIMEOUT ("1", "0.5"). Only a
// whole answer counts: one cut off in its headers or body is a failure, and
// so is a body beyond the request's cap, abandoned as soon as it announces or
// delivers more. All headers of an exchange together are held to kHeaderCap.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::http {

// Far beyond any real answer's headers; too small to fill the memory.
inline constexpr std::size_t kHeaderCap = 64 * 1024;

struct Header {
  std::string name;
  std::string value;
};

struct Request {
  std::string method = "GET";  // or "POST"
  std::string url;
  std::vector<Header> headers;          // sent in order, after the URL loading's own
  std::string body;                     // what a POST sends, as it is
  std::size_t answerCap = 1024 * 1024;  // a larger body is a failure
  bool followRedirections = false;      // ten at most, to http and https only
};

// What came back: a body (perhaps empty) whenever the server answered, with
// the status of that answer, or else a readable reason why there is none.
struct Response {
  std::optional<std::string> body;
  long status = 0;
  std::string error;
};

// A request for url, or nothing when url is not an absolute http or https URL
// that the URL loading can use.
std::optional<Request> requestFor(std::string url);

// Sends the request and waits for the whole answer: its body, whatever its status.
Response send(const Request& request);

// GETs url, following redirections; an answer whose status is not 2xx is an error.
Response getText(const std::string& url, std::size_t answerCap);

// The time-out every request gets.
std::chrono::milliseconds timeout();

}  // namespace platform::http
