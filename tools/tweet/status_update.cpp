#include "tools/tweet/status_update.h"

#include "platform/text.h"
#include "platform/url_escape.h"

namespace tweet {

std::string updateUrl(std::string_view service, std::string_view userName, std::string_view password) {
  std::string credentials = platform::escapeForUserInfo(userName) + ":" + platform::escapeForUserInfo(password);
  std::size_t host = service.find("://") + 3;
  return std::string(service.substr(0, host)) + credentials + "@" + std::string(service.substr(host)) + kUpdatePath;
}

std::string updateBody(std::string_view statusText) {
  return "source=Warble&status=" + platform::escapeForQueryValue(statusText);
}

std::optional<platform::http::Request> updateRequest(std::string_view service, std::string_view userName,
                                                     std::string_view password, std::string_view statusText) {
  std::optional<platform::http::Request> request = platform::http::requestFor(updateUrl(service, userName, password));
  if (!request) return std::nullopt;
  request->method = "POST";
  request->body = updateBody(statusText);
  request->headers = {{"Content-Type", "application/x-www-form-urlencoded"}, {"X-Twitter-Client", "Warble"}};
  request->answerCap = kAnswerCap;
  return request;
}

std::string outcomeLine(std::string_view body) {
  std::string text = platform::replacingInvalidUtf8(body);
  return text.find("uthentica") != std::string::npos ? text : "Done";
}

}  // namespace tweet
