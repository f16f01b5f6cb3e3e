// wanaddress as a user runs it, the public-address service played by a local
// server standing in as the proxy.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/http_server.h"
#include "tests/support/raw_server.h"

namespace {

const std::string kUrl = "http://automation.whatismyip.com/automation/n09230945.asp";
const std::string kFailedFetch = "wanaddress: cannot fetch " + kUrl + ": ";
constexpr std::size_t kAnswerCap = 64 * 1024;

class WanaddressTest : public ::testing::Test {
 protected:
  e2e::Result wanaddress(const std::string& proxy, std::vector<std::string> arguments = {},
                         std::map<std::string, std::string> environment = {}) {
    environment["http_proxy"] = proxy;
    return e2e::runProgram(device, "wanaddress", std::move(arguments), "", environment);
  }
  // The output of wanaddress for the given answer of the service.
  e2e::Result answeredWith(e2e::Answer answer) {
    e2e::HttpServer server(std::move(answer));
    e2e::Result r = wanaddress(server.proxy());
    EXPECT_EQ(server.requests().size(), 1u);
    return r;
  }
  // A failed fetch whose reason contains what.
  void expectFailedFetch(const e2e::Result& r, const std::string& what) {
    EXPECT_TRUE(r.out.empty()) << r.out.size() << " bytes: " << r.out.substr(0, 40);
    ASSERT_EQ(r.err.rfind(kFailedFetch, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(what, kFailedFetch.size()), std::string::npos) << r.err;
    ASSERT_TRUE(e2e::exitedWith(r, 1));
  }
  void expectFailure(const e2e::Result& r, const std::string& err) {
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, err);
    ASSERT_TRUE(e2e::exitedWith(r, 1));
  }

  e2e::TemporaryDevice device;
};

TEST_F(WanaddressTest, GetsTheServiceUrlAndPrintsTheAnswerWhateverTheArguments) {
  struct Case {
    std::vector<std::string> arguments;
    std::string service = "", url = kUrl, host = "automation.whatismyip.com";
  };
  const std::string today = "http://ip.example.net:8080/ip?format=text";
  for (const Case& c :
       {Case{{}}, Case{{"--help"}}, Case{{"-x", "y", "z"}}, Case{{}, today, today, "ip.example.net:8080"}}) {
    e2e::HttpServer server({200, "203.0.113.7"});
    auto r = wanaddress(server.proxy(), c.arguments, {{"SBKIT_ADDRESS_SERVICE", c.service}});
    EXPECT_EQ(r.out, "203.0.113.7\n");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));

    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, c.url);
    EXPECT_EQ(requests[0].header("Host"), c.host);
    EXPECT_EQ(requests[0].headerCount("Authorization"), 0u);
    EXPECT_EQ(requests[0].body, "");
  }
}

TEST_F(WanaddressTest, TheAnswerIsPrintedUnalteredWithOneLineEndAfterIt) {
  struct Case {
    std::string answer, out;
  };
  for (const Case& c :
       {Case{"203.0.113.7\n", "203.0.113.7\n\n"}, Case{"first\nsecond\r\nthird", "first\nsecond\r\nthird\n"},
        Case{"  not an address at all \t", "  not an address at all \t\n"},
        Case{std::string("nul\0byte", 8), std::string("nul\0byte\n", 9)}, Case{"", "\n"}}) {
    auto r = answeredWith({200, c.answer});
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
}

TEST_F(WanaddressTest, AServiceWithoutAHostIsRefusedAndNothingIsSent) {
  e2e::HttpServer server;
  expectFailure(wanaddress(server.proxy(), {}, {{"SBKIT_ADDRESS_SERVICE", "http:///ip"}}),
                "wanaddress: SBKIT_ADDRESS_SERVICE has no host\n");
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(WanaddressTest, ARedirectionIsFollowed) {
  e2e::HttpServer server({302, "", "text/plain", {{"Location", "http://automation.whatismyip.com/moved"}}});
  server.answer("http://automation.whatismyip.com/moved", {200, "198.51.100.2"});
  auto r = wanaddress(server.proxy());
  EXPECT_EQ(r.out, "198.51.100.2\n");
  EXPECT_EQ(r.status, 0);
  auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, kUrl);
  EXPECT_EQ(requests[1].target, "http://automation.whatismyip.com/moved");
}

TEST_F(WanaddressTest, AnAnswerThatIsNotAsciiIsAnError) {
  for (std::string answer : {"203.0.113.7 caf\xc3\xa9", "\xff"}) {
    auto r = answeredWith({200, answer});
    expectFailure(r, "wanaddress: the answer from " + kUrl + " is not ASCII text\n");
  }
}

TEST_F(WanaddressTest, AnHttpErrorIsAFailedFetch) {
  for (int status : {404, 500, 503}) {
    auto r = answeredWith({status, "Service Unavailable"});
    expectFailure(r, "wanaddress: cannot fetch " + kUrl + ": the server answered with HTTP status " +
                         std::to_string(status) + "\n");
  }
}

TEST_F(WanaddressTest, WithoutAServerTheFetchFailsWithTheReason) {
  e2e::RefusingPort nobody;
  ASSERT_GT(nobody.port(), 0);
  auto r = wanaddress(nobody.proxy());
  const std::string prefix = "wanaddress: cannot fetch " + kUrl + ": ";
  EXPECT_EQ(r.out, "");
  ASSERT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
  EXPECT_NE(r.err.find("port " + std::to_string(nobody.port()), prefix.size()), std::string::npos) << r.err;
  ASSERT_TRUE(e2e::exitedWith(r, 1));
}

TEST_F(WanaddressTest, AServerThatNeverAnswersEndsInTheTimeOut) {
  e2e::SilentServer silent;
  ASSERT_GT(silent.port(), 0);
  auto start = std::chrono::steady_clock::now();
  auto r = wanaddress(silent.proxy(), {}, {{"SBKIT_HTTP_TIMEOUT", "1"}});
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("wanaddress: cannot fetch " + kUrl + ": ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("timed out"), std::string::npos) << r.err;
  ASSERT_TRUE(e2e::exitedWith(r, 1));
  EXPECT_GE(seconds, 0.9);
  EXPECT_LT(seconds, 30.0);
}

TEST_F(WanaddressTest, AnAnswerCutShortIsAFailedFetch) {
  struct Case {
    std::string name, bytes, reason;
  };
  for (const Case& c :
       {Case{"cut off in the headers", "HTTP/1.1 200 OK\r\nContent-Type: text/pl", "cut off"},
        Case{"shorter than announced", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n203.0.113.7", "cut off"},
        Case{"chunks without their end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nb\r\n203.0.113.7\r\n",
             "cut off"},
        Case{"chunks that are no chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n203\r\n", ""},
        Case{"nothing at all", "", ""}}) {
    SCOPED_TRACE(c.name);
    e2e::RawServer server(c.bytes);
    auto r = wanaddress(server.proxy(), {}, {{"SBKIT_HTTP_TIMEOUT", "10"}});
    expectFailedFetch(r, c.reason);
  }
}

TEST_F(WanaddressTest, HeadersBeyondTheirCapAreAFailedFetch) {
  std::string head = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; head.size() <= 64 * 1024; ++i)
    head += "X-Filler-" + std::to_string(i) + ": " + std::string(60, 'f') + "\r\n";
  e2e::RawServer server(head, e2e::RawServer::Then::sendForever);
  expectFailedFetch(wanaddress(server.proxy(), {}, {{"SBKIT_HTTP_TIMEOUT", "10"}}),
                    "the answer's headers are larger than 64 KiB");
}

TEST_F(WanaddressTest, AnAnswerUpToTheCapIsPrintedWhole) {
  std::string answer(kAnswerCap, '7');
  auto r = answeredWith({200, answer});
  EXPECT_TRUE(r.out == answer + "\n") << r.out.size() << " bytes";
  EXPECT_EQ(r.status, 0);
}

TEST_F(WanaddressTest, AnAnswerBeyondTheCapIsAFailedFetchAndIsNotReadFurther) {
  const std::string tooLarge = "the answer is larger than 64 KiB";
  {
    SCOPED_TRACE("one byte too many");
    auto r = answeredWith({200, std::string(kAnswerCap + 1, '7')});
    expectFailedFetch(r, tooLarge);
  }
  {
    SCOPED_TRACE("announced as larger");
    e2e::RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 1073741824\r\n\r\n203.0.113.7",
                          e2e::RawServer::Then::sendForever);
    expectFailedFetch(wanaddress(server.proxy(), {}, {{"SBKIT_HTTP_TIMEOUT", "10"}}), tooLarge);
  }
  {
    SCOPED_TRACE("an answer that never ends");
    e2e::RawServer server("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", e2e::RawServer::Then::sendForever);
    auto start = std::chrono::steady_clock::now();
    auto r = wanaddress(server.proxy(), {}, {{"SBKIT_HTTP_TIMEOUT", "10"}});
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    expectFailedFetch(r, tooLarge);
    EXPECT_LT(seconds, 5.0) << "stopped at the cap, not at the time-out";
  }
}

}  // namespace
