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
//
// Only a whole answer counts: one cut off in its headers or its body (the
// connection closed before the announced Content-Length or the last chunk
// arrived) is a failure. So is a body larger than the request's cap: the
// transfer is abandoned as soon as the answer announces or delivers more, and
// no more than the cap is ever held. The headers of all answers together,
// redirections included, are held to kHeaderCap.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::http {

// The most header bytes an exchange may bring back: far beyond any real
// answer's headers, small enough that a server cannot fill the memory with them.
inline constexpr std::size_t kHeaderCap = 64 * 1024;

struct Header {
  std::string name;
  std::string value;
};

struct Request {
  std::string method = "GET";  // or "POST"
  std::string url;
  // Sent in this order, after the ones the URL loading adds itself.
  std::vector<Header> headers;
  // What a POST sends, as it is.
  std::string body;
  // The largest body of the answer that is taken; a larger one is a failure.
  std::size_t answerCap = 1024 * 1024;
  // Redirections are followed (ten at most, to http and https only) when set.
  bool followRedirections = false;
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

// Fetches the document at url with GET, following redirections, taking no
// more than answerCap bytes of body. Only a successful answer (status 2xx)
// counts: any other status is an error.
Response getText(const std::string& url, std::size_t answerCap);

// The time-out every request gets.
std::chrono::milliseconds timeout();

}  // namespace platform::http
