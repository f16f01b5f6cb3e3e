#include "tests/support/raw_server.h"

#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace e2e {
namespace {

// How long one wait may last before the server looks at the clock and its
// stop flag again.
constexpr int kPollMs = 50;

// The value of Content-Length in the request's header block, 0 when absent.
std::size_t contentLength(const std::string& head) {
  static const std::string kName = "\r\ncontent-length:";
  for (std::size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2))
    if (strncasecmp(head.c_str() + at, kName.c_str(), kName.size()) == 0)
      return std::strtoul(head.c_str() + at + kName.size(), nullptr, 10);
  return 0;
}

}  // namespace

RawServer::RawServer(std::string bytes, Then then, std::chrono::milliseconds lifetime)
    : LocalPort(true), bytes_(std::move(bytes)), then_(then), deadline_(std::chrono::steady_clock::now() + lifetime) {
  thread_ = std::thread([this] { serve(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  thread_.join();
}

bool RawServer::timeLeft() const { return !stopping_ && std::chrono::steady_clock::now() < deadline_; }

void RawServer::serve() {
  while (timeLeft()) {
    pollfd listening{fd(), POLLIN, 0};
    if (poll(&listening, 1, kPollMs) <= 0) continue;
    int connection = accept4(fd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++connections_;
    answer(connection);
    close(connection);
  }
}

void RawServer::answer(int connection) {
  // Read the whole request first: closing on unread bytes would reset the
  // connection, and the client would see that instead of the answer.
  std::string request;
  std::size_t needed = std::string::npos;
  char buffer[65536];
  while (timeLeft() && request.size() < needed) {
    pollfd in{connection, POLLIN, 0};
    if (poll(&in, 1, kPollMs) <= 0) continue;
    ssize_t n = recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
    std::size_t end = request.find("\r\n\r\n");
    if (end != std::string::npos) needed = end + 4 + contentLength(request.substr(0, end + 2));
  }

  auto sendAll = [&](const char* data, std::size_t size) {
    while (size > 0 && timeLeft()) {
      pollfd out{connection, POLLOUT, 0};
      if (poll(&out, 1, kPollMs) <= 0) continue;
      ssize_t n = send(connection, data, size, MSG_NOSIGNAL);
      if (n <= 0) return false;  // the client hung up
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return size == 0;
  };
  if (!sendAll(bytes_.data(), bytes_.size()) || then_ == Then::close) return;
  std::string filler;
  while (filler.size() < sizeof buffer) filler += "0123456789\n";
  while (sendAll(filler.data(), filler.size())) {}
}

}  // namespace e2e
