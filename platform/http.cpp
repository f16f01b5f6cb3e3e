// HTTP over libcurl.

#include "platform/http.h"

#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/text.h"

namespace platform::http {
namespace {

constexpr std::chrono::milliseconds kDefaultTimeout{60'000};
constexpr const char* kTimeoutVariable = "SBKIT_HTTP_TIMEOUT";
// No redirection may lead elsewhere than to another web page.
constexpr const char* kWebProtocols = "http,https";

// libcurl's objects, each freed by its own call.
template <class T, void (*free)(T*)>
struct Freed {
  void operator()(T* object) const { free(object); }
};
using HeaderList = std::unique_ptr<curl_slist, Freed<curl_slist, curl_slist_free_all>>;

// What has arrived of the answer: its body, never more than the cap, and
// whether the headers of the last answer were whole.
struct Reception {
  explicit Reception(std::size_t cap) : cap(cap) {}
  std::size_t cap;
  std::string body;
  bool beyondCap = false;
  std::size_t headerBytes = 0;
  bool beyondHeaderCap = false;
  bool headersEnded = false;
};

// Taking less than was offered makes libcurl abandon the transfer.
std::size_t takeBody(char* data, std::size_t size, std::size_t count, void* context) {
  auto& reception = *static_cast<Reception*>(context);
  std::size_t length = size * count;
  if (length > reception.cap - reception.body.size()) {
    reception.beyondCap = true;
    return 0;
  }
  reception.body.append(data, length);
  return length;
}

// libcurl hands over whole header lines; the empty one ends an answer's
// headers. Any other line (the status line of an answer after a redirection
// or a "100 Continue") starts them anew.
std::size_t takeHeader(char* data, std::size_t size, std::size_t count, void* context) {
  auto& reception = *static_cast<Reception*>(context);
  std::size_t length = size * count;
  reception.headerBytes += length;
  if (reception.headerBytes > kHeaderCap) {
    reception.beyondHeaderCap = true;
    return 0;
  }
  std::string_view line(data, length);
  reception.headersEnded = line == "\r\n" || line == "\n";
  return length;
}

// The header list as libcurl takes it. A header with an empty value is
// written "Name;", as "Name:" would remove the header instead.
HeaderList headerList(const std::vector<Header>& headers) {
  curl_slist* list = nullptr;
  for (const Header& header : headers) {
    std::string line = header.value.empty() ? header.name + ";" : header.name + ": " + header.value;
    list = curl_slist_append(list, line.c_str());
  }
  // No waiting for "100 Continue" before a larger body: the request goes out at once.
  list = curl_slist_append(list, "Expect:");
  return HeaderList(list);
}

Response failure(std::string reason) {
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  Response response;
  response.error = std::move(reason);
  return response;
}

}  // namespace

std::optional<Request> requestFor(std::string url) {
  std::unique_ptr<CURLU, Freed<CURLU, curl_url_cleanup>> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
  char* scheme = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return std::nullopt;
  std::string name = scheme;
  curl_free(scheme);
  if (name != "http" && name != "https") return std::nullopt;
  Request request;
  request.url = std::move(url);
  return request;
}

Response send(const Request& request) {
  [[maybe_unused]] static const CURLcode initialized = curl_global_init(CURL_GLOBAL_DEFAULT);  // once, by any thread
  std::unique_ptr<CURL, Freed<CURL, curl_easy_cleanup>> curl(curl_easy_init());
  if (!curl) return failure("cannot start the URL loading");
  CURL* c = curl.get();
  char errorText[CURL_ERROR_SIZE] = "";
  Reception reception(request.answerCap);
  auto headers = headerList(request.headers);
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, kWebProtocols);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout().count()));
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, takeBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &reception);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, takeHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &reception);
  // An answer that announces more than the cap fails before its body is read.
  curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.answerCap));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  if (request.followRedirections) {
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols);
  }
  if (request.method == "POST") {
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.data());
  }
  CURLcode result = curl_easy_perform(c);
  std::string reason = *errorText ? errorText : curl_easy_strerror(result);
  if (reception.beyondCap || result == CURLE_FILESIZE_EXCEEDED)
    return failure("the answer is larger than " + sizeText(request.answerCap));
  if (reception.beyondHeaderCap) return failure("the answer's headers are larger than " + sizeText(kHeaderCap));
  // The connection closed before the announced length or the last chunk.
  if (result == CURLE_PARTIAL_FILE) return failure("the answer was cut off (" + reason + ")");
  if (result != CURLE_OK) return failure(reason);
  if (!reception.headersEnded) return failure("the answer was cut off in its headers");
  Response response;
  response.body = std::move(reception.body);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
  return response;
}

Response getText(const std::string& url, std::size_t answerCap) {
  Request request;
  request.url = url;
  request.answerCap = answerCap;
  request.followRedirections = true;
  Response response = send(request);
  if (response.body && (response.status < 200 || response.status > 299)) {
    response.error = "the server answered with HTTP status " + std::to_string(response.status);
    response.body.reset();
  }
  return response;
}

std::chrono::milliseconds timeout() {
  const char* text = std::getenv(kTimeoutVariable);
  if (!text || !*text) return kDefaultTimeout;
  char* end = nullptr;
  double seconds = std::strtod(text, &end);
  // A day at most, so the milliseconds always fit libcurl's long.
  if (*end || !std::isfinite(seconds) || seconds <= 0 || seconds > 86'400) return kDefaultTimeout;
  return std::chrono::milliseconds(std::max<long long>(1, std::llround(seconds * 1000)));
}

}  // namespace platform::http
