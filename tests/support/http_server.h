#pragma once

// Local HTTP servers for end-to-end tests of the network tools. Each listens
// on 127.0.0.1 at a port the system chooses; the tools reach it as their proxy
// (http_proxy), so requests for any host arrive here with absolute targets.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

struct ReceivedRequest {
  std::string method;
  std::string target;  // as sent: "http://host/path" through a proxy
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // How many times a header (any case) was sent, and its first value ("" when absent).
  std::size_t headerCount(const std::string& name) const;
  std::string header(const std::string& name) const;
};

struct Answer {
  using Headers = std::vector<std::pair<std::string, std::string>>;
  Answer(int status = 200, std::string body = "", std::string contentType = "text/plain", Headers headers = {})
      : status(status), body(std::move(body)), contentType(std::move(contentType)), headers(std::move(headers)) {}

  int status;
  std::string body;
  std::string contentType;
  Headers headers;
};

// A server in a thread of the test that records every request and answers
// with the answer given for its target, or the default answer.
class HttpServer {
 public:
  explicit HttpServer(Answer defaultAnswer = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  int port() const { return port_; }
  // The value of http_proxy that sends a tool's requests here.
  std::string proxy() const;
  void answer(const std::string& target, Answer answer);
  std::vector<ReceivedRequest> requests() const;

 private:
  struct Running;
  std::unique_ptr<Running> running_;
  int port_ = -1;
  mutable std::mutex mutex_;
  Answer defaultAnswer_;
  std::map<std::string, Answer> answers_;
  std::vector<ReceivedRequest> requests_;
};

// A TCP socket bound to 127.0.0.1 at a port of the system's choosing, held
// while the test runs so that no one else takes the port.
class LocalPort {
 public:
  ~LocalPort();
  LocalPort(const LocalPort&) = delete;
  LocalPort& operator=(const LocalPort&) = delete;
  int port() const { return port_; }
  std::string proxy() const;

 protected:
  int fd() const { return fd_; }
  // Listening, the system's queue takes connections; not, it refuses them.
  explicit LocalPort(bool listening);

 private:
  int fd_ = -1;
  int port_ = -1;
};

// A port on 127.0.0.1 that refuses connections: bound but not listening.
class RefusingPort : public LocalPort {
 public:
  RefusingPort() : LocalPort(false) {}
};

// A server on 127.0.0.1 that takes connections and never answers: the
// system's listen queue accepts them and nothing ever reads or writes.
class SilentServer : public LocalPort {
 public:
  SilentServer() : LocalPort(true) {}
};

}  // namespace e2e
