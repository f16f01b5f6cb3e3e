#pragma once

// A hostile HTTP server on 127.0.0.1 for the network tools' tests: it answers
// with exactly the bytes a test gives, however wrong they are (headers cut
// off, a body shorter than announced, a chunked body that never ends
// properly), or with an answer that never ends.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "tests/support/http_server.h"

namespace e2e {

class RawServer : public LocalPort {
 public:
  // What follows the given bytes: the connection closes, or filler ("0123456789\n"
  // over and over) goes on being sent until the client hangs up.
  enum class Then { close, sendForever };

  // Each connection is served in turn: the request is read (headers, then as
  // many body bytes as it announces), the bytes are sent, then what `then`
  // says. The server stops by itself after lifetime, whatever the client does,
  // so a test can never hang on it.
  explicit RawServer(std::string bytes, Then then = Then::close,
                     std::chrono::milliseconds lifetime = std::chrono::seconds(20));
  ~RawServer();

  // Connections served so far.
  int connections() const { return connections_; }

 private:
  void serve();
  void answer(int connection);
  bool timeLeft() const;

  std::string bytes_;
  Then then_;
  std::chrono::steady_clock::time_point deadline_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

}  // namespace e2e
