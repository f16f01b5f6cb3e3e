#include "tests/support/http_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

std::string proxyFor(int port) { return "http://127.0.0.1:" + std::to_string(port); }

// A TCP socket bound to 127.0.0.1 at a port of the system's choosing.
int boundSocket(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("cannot make a socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("cannot bind a socket on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

std::size_t ReceivedRequest::headerCount(const std::string& name) const {
  std::size_t count = 0;
  for (const auto& [key, value] : headers)
    if (strcasecmp(key.c_str(), name.c_str()) == 0) ++count;
  return count;
}

std::string ReceivedRequest::header(const std::string& name) const {
  for (const auto& [key, value] : headers)
    if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
  return "";
}

struct HttpServer::Running {
  httplib::Server server;
  std::thread thread;
  std::atomic<bool> ended{false};
};

HttpServer::HttpServer(Answer defaultAnswer)
    : running_(std::make_unique<Running>()), defaultAnswer_(std::move(defaultAnswer)) {
  httplib::Server& server = running_->server;
  auto handle = [this](const httplib::Request& request, httplib::Response& response) {
    ReceivedRequest received{request.method, request.target, request.version, {}, request.body};
    for (const auto& header : request.headers) received.headers.push_back(header);
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(received));
    auto found = answers_.find(request.target);
    const Answer& answer = found == answers_.end() ? defaultAnswer_ : found->second;
    response.status = answer.status;
    for (const auto& [name, value] : answer.headers) response.set_header(name, value);
    response.set_content(answer.body, answer.contentType.c_str());
  };
  // Through a proxy the path is the whole absolute target: match anything.
  const char* anything = ".*";
  server.Get(anything, handle).Post(anything, handle).Put(anything, handle).Delete(anything, handle);
  server.Patch(anything, handle).Options(anything, handle);

  port_ = server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind the test server on 127.0.0.1");
  std::atomic<bool>& ended = running_->ended;
  running_->thread = std::thread([&server, &ended] {
    server.listen_after_bind();
    ended = true;
  });
  // stop() is only heard once the server runs.
  while (!server.is_running() && !ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!server.is_running()) {
    running_->thread.join();
    throw std::runtime_error("the test server did not start");
  }
}

HttpServer::~HttpServer() {
  running_->server.stop();
  running_->thread.join();
}

std::string HttpServer::proxy() const { return proxyFor(port_); }

void HttpServer::answer(const std::string& target, Answer answer) {
  std::lock_guard lock(mutex_);
  answers_[target] = std::move(answer);
}

std::vector<ReceivedRequest> HttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

LocalPort::LocalPort(bool listening) {
  fd_ = boundSocket(port_);
  if (listening && listen(fd_, 16) != 0) {
    close(fd_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
}
LocalPort::~LocalPort() { close(fd_); }
std::string LocalPort::proxy() const { return proxyFor(port_); }

}  // namespace e2e
