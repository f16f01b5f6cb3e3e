// tweet: posts one status update to the status service (the built-in one, or
// the one SBKIT_STATUS_SERVICE names) in the name of the given user, and
// reports whether the service mentioned authentication in its answer.

#include <err.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/http.h"
#include "platform/service_url.h"
#include "platform/text.h"
#include "tools/tweet/status_update.h"

using namespace tweet;

namespace {

constexpr int kUsageStatus = 255;
// Every failure to post ends the run as the usage does.
constexpr int kNotPostedStatus = 255;

[[noreturn]] void usage(const char* programName) {
  std::printf("Usage: %s username password tweet\n", programName);
  std::exit(kUsageStatus);
}

// The arguments are UTF-8 text; anything else would reach the service as
// bytes the user never meant. The password is not repeated on the screen.
void requireUtf8(const char* argument, const char* what) {
  if (!platform::isValidUtf8(argument)) errx(kNotPostedStatus, "the %s is not UTF-8 text", what);
}

// The line as it is, NUL bytes included, then a line end.
void printLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::putchar('\n');
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 3) usage(argv[0]);
  const char *userName = argv[1], *password = argv[2], *statusText = argv[3];
  requireUtf8(userName, "user name");
  requireUtf8(password, "password");
  requireUtf8(statusText, "status text");

  platform::ServiceUrl service =
      platform::serviceUrl(kServiceVariable, kDefaultService, platform::ServiceUrlKind::base);
  if (!service.url) {
    std::printf("Submission Error : %s\n", service.refusal.c_str());
    std::exit(kNotPostedStatus);
  }

  std::optional<platform::http::Request> request = updateRequest(*service.url, userName, password, statusText);
  if (!request) {
    std::puts("Error creating URL Request. Exiting.");
    std::exit(kNotPostedStatus);
  }
  std::puts("Contacting Twitter Server. This may take up to a minute.");
  std::fflush(stdout);

  platform::http::Response response = platform::http::send(*request);
  if (!response.body) {
    std::printf("Submission Error : %s\n", response.error.c_str());
    std::exit(kNotPostedStatus);
  }
  printLine(outcomeLine(*response.body));
  return 0;
}
