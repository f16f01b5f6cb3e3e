// wanaddress: prints the device's public IP address as the public-address
// service sees it: the service's plain-text answer, unaltered, and a line end.

#include <err.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/http.h"
#include "platform/text.h"

namespace {
// The service answers with the address the request came from.
constexpr const char* kAddressUrl = "http://automation.whatismyip.com/automation/n09230945.asp";
// An address is a few dozen bytes; an answer beyond 64 KiB is no address and
// is not read further.
constexpr std::size_t kAnswerCap = 64 * 1024;
}  // namespace

int main() {
  platform::http::Response answer = platform::http::getText(kAddressUrl, kAnswerCap);
  if (!answer.body) errx(1, "cannot fetch %s: %s", kAddressUrl, answer.error.c_str());
  const std::string& text = *answer.body;
  if (!platform::isAscii(text)) errx(1, "the answer from %s is not ASCII text", kAddressUrl);
  // As it came, NUL bytes and line ends included.
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::putchar('\n');
  return 0;
}
