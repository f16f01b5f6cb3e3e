// wanaddress: prints the device's public IP address as the public-address
// service sees it: the service's plain-text answer, unaltered, and a line end.

#include <err.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/http.h"
#include "platform/service_url.h"
#include "platform/text.h"

namespace {
// The service answers with the address the request came from; the
// environment variable may name another that does.
constexpr const char* kServiceVariable = "SBKIT_ADDRESS_SERVICE";
constexpr const char* kDefaultService = "http://automation.whatismyip.com/automation/n09230945.asp";
// An address is a few dozen bytes; an answer beyond 64 KiB is no address and
// is not read further.
constexpr std::size_t kAnswerCap = 64 * 1024;
}  // namespace

int main() {
  platform::ServiceUrl service =
      platform::serviceUrl(kServiceVariable, kDefaultService, platform::ServiceUrlKind::whole);
  if (!service.url) errx(1, "%s", service.refusal.c_str());
  const char* url = service.url->c_str();
  platform::http::Response answer = platform::http::getText(url, kAnswerCap);
  if (!answer.body) errx(1, "cannot fetch %s: %s", url, answer.error.c_str());
  const std::string& text = *answer.body;
  if (!platform::isAscii(text)) errx(1, "the answer from %s is not ASCII text", url);
  // As it came, NUL bytes and line ends included.
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::putchar('\n');
  return 0;
}
