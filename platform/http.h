#pragma once

// Synchronous HTTP through the system's URL loading. Credentials in a URL's
// user information are sent to the server with basic authentication, and the
// proxy named by the environment ("http_proxy", "no_proxy") is used.
//
// Every request gets the platform's time-out: 60 seconds for the whole
// exchange, unless the environment variable SBKIT_HTTP_TIMEOUT gives another
// number of seconds (a positive decimal such as "1" or "0.5"; anything else
// leaves the default). Tests use it to meet a server that never answers
// without waiting a minute.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform::http {

struct Header {
  std::string name;
  std::string value;
};

struct Request {
  std::string method = "GET";
  std::string url;
  // Sent in this order, after the ones the URL loading adds itself.
  std::vector<Header> headers;
  // Sent as it is, when not empty.
  std::string body;
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

// Sends the request and blocks until the answer has arrived or the request has
// failed. The server's answer is the body whatever its status.
Response send(const Request& request);

// Fetches the document at url with GET, following redirections. Only a
// successful answer (status 2xx) counts: any other status is an error.
Response getText(const std::string& url);

// The time-out every request gets.
std::chrono::milliseconds timeout();

}  // namespace platform::http
