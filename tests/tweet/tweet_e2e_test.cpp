// tweet as a user runs it, its requests sent through a local server standing
// in as the proxy, so what the status service would receive is seen here.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/http_server.h"
#include "tests/support/raw_server.h"

namespace {

const std::string kContacting = "Contacting Twitter Server. This may take up to a minute.\n";
const std::string kTarget = "http://twitter.com/statuses/update.xml";
const std::string kSubmissionError = "Submission Error : ";

std::string base64(const std::string& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned chunk = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(chunk >> 18) & 63];
    out += kDigits[(chunk >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(chunk >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[chunk & 63] : '=';
  }
  return out;
}

class TweetTest : public ::testing::Test {
 protected:
  // tweet with the given arguments, its requests going to proxy.
  e2e::Result tweet(std::vector<std::string> arguments, const std::string& proxy,
                    std::map<std::string, std::string> environment = {}) {
    environment["http_proxy"] = proxy;
    return e2e::runProgram(device, "tweet", std::move(arguments), "", environment);
  }

  // The one request the server received; an empty one when it got none or more.
  e2e::ReceivedRequest onlyRequest(const e2e::HttpServer& server) {
    auto requests = server.requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.size() == 1 ? requests[0] : e2e::ReceivedRequest{};
  }

  // Runs tweet against a server giving answer; checks that exactly one
  // update came in and returns what tweet did.
  e2e::Result answeredWith(e2e::Answer answer) {
    e2e::HttpServer server(std::move(answer));
    e2e::Result r = tweet({"alice", "s3cret", "Hello"}, server.proxy());
    EXPECT_EQ(onlyRequest(server).target, kTarget);
    return r;
  }

  e2e::TemporaryDevice device;
};

TEST_F(TweetTest, FewerThanThreeArgumentsPrintTheUsageAndSendNothing) {
  e2e::HttpServer server;
  for (auto arguments : std::vector<std::vector<std::string>>{{}, {"alice"}, {"alice", "s3cret"}}) {
    auto r = tweet(arguments, server.proxy());
    EXPECT_EQ(r.out, "Usage: " + e2e::program("tweet") + " username password tweet\n");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 255));
  }
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(TweetTest, PostsTheFormToTheUpdatePathWithBasicAuthenticationAndTheClientHeaders) {
  e2e::HttpServer server({200, "<status><id>1</id><text>Hello world</text></status>", "text/xml"});
  auto r = tweet({"alice", "s3cret", "Hello world", "surplus", "arguments"}, server.proxy());
  EXPECT_EQ(r.out, kContacting + "Done\n");
  EXPECT_EQ(r.err, "");
  ASSERT_TRUE(e2e::exitedWith(r, 0));

  e2e::ReceivedRequest request = onlyRequest(server);
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.target, kTarget) << "no credentials in the target";
  EXPECT_EQ(request.header("Host"), "twitter.com");
  EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(request.headerCount("Content-Type"), 1u);
  EXPECT_EQ(request.header("X-Twitter-Client"), "Warble");
  EXPECT_EQ(request.header("Authorization"), "Basic " + base64("alice:s3cret"));
  EXPECT_EQ(request.headerCount("Authorization"), 1u);
  EXPECT_EQ(request.headerCount("Proxy-Authorization"), 0u) << "the credentials are the service's, not the proxy's";
  EXPECT_EQ(request.headerCount("Expect"), 0u);
  EXPECT_EQ(request.body, "source=Warble&status=Hello%20world");
  EXPECT_EQ(request.header("Content-Length"), std::to_string(request.body.size()));
}

TEST_F(TweetTest, TheServiceReceivesExactlyTheTypedUserNameAndPassword) {
  struct Case {
    std::string user, password, service = "", target = kTarget, host = "twitter.com";
  };
  for (const Case& c :
       {Case{"a:b@c", "p@ss:w/rd?#[]% x"}, Case{"evil.example/", "@twitter.com"}, Case{"j\xc3\xb6rg", "&=+$,;!~*'()"},
        Case{"%41%", "%%3A"}, Case{"", ""}, Case{"tab\tuser", "\xe2\x82\xac"},
        Case{"a@b", "s3cret", "http://social.example.org:8080/api/",
             "http://social.example.org:8080/api/statuses/update.xml", "social.example.org:8080"}}) {
    e2e::HttpServer server;
    auto r = tweet({c.user, c.password, "hi"}, server.proxy(), {{"SBKIT_STATUS_SERVICE", c.service}});
    EXPECT_EQ(r.out, kContacting + "Done\n") << c.user;
    EXPECT_EQ(r.status, 0);
    e2e::ReceivedRequest request = onlyRequest(server);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, c.target) << c.user;
    EXPECT_EQ(request.header("Host"), c.host) << c.user;
    EXPECT_EQ(request.header("Authorization"), "Basic " + base64(c.user + ":" + c.password)) << c.user;
  }
}

TEST_F(TweetTest, TheStatusTextArrivesFormEncodedSoTheServiceReadsBackWhatWasTyped) {
  struct Case {
    std::string text, body;
  };
  for (const Case& c : {Case{"Hello world", "source=Warble&status=Hello%20world"},
                        Case{"caf\xc3\xa9 \xe2\x98\x95", "source=Warble&status=caf%C3%A9%20%E2%98%95"},
                        Case{"fish & chips", "source=Warble&status=fish%20%26%20chips"},
                        Case{"1+1=2; done", "source=Warble&status=1%2B1%3D2%3B%20done"},
                        Case{"100% #win \"quoted\"", "source=Warble&status=100%25%20%23win%20%22quoted%22"},
                        Case{"two\nlines", "source=Warble&status=two%0Alines"}, Case{"", "source=Warble&status="}}) {
    e2e::HttpServer server;
    auto r = tweet({"alice", "s3cret", c.text}, server.proxy());
    EXPECT_EQ(r.status, 0) << c.text;
    e2e::ReceivedRequest request = onlyRequest(server);
    EXPECT_EQ(request.body, c.body);
    EXPECT_EQ(request.header("Content-Length"), std::to_string(c.body.size()));
  }
}

TEST_F(TweetTest, AnAnswerMentioningAuthenticationIsPrintedWholeWithStatus0WhateverItsHttpStatus) {
  for (const e2e::Answer& answer :
       {e2e::Answer{401,
                    "<?xml version=\"1.0\"?>\n<hash>\n  <error>Could not authenticate you.</error>\n</hash>\n",
                    "application/xml",
                    {{"WWW-Authenticate", "Basic realm=\"Twitter API\""}}},
        e2e::Answer{401, "Authentication required"}, e2e::Answer{200, "ends in uthentica"},
        e2e::Answer{500, "uthentication\tbroke\r\nsorry"}}) {
    auto r = answeredWith(answer);
    EXPECT_EQ(r.out, kContacting + answer.body + "\n") << answer.body;
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));
  }
}

TEST_F(TweetTest, AnyOtherAnswerAndAnEmptyOnePrintDoneWithStatus0) {
  for (const e2e::Answer& answer : {e2e::Answer{200, "<status><id>7</id></status>"}, e2e::Answer{200, ""},
                                    e2e::Answer{403, "AUTHENTICATION is spelt in capitals here"},
                                    e2e::Answer{404, "Not found"}, e2e::Answer{503, ""}}) {
    auto r = answeredWith(answer);
    EXPECT_EQ(r.out, kContacting + "Done\n") << answer.status << " " << answer.body;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
}

TEST_F(TweetTest, AnAnswerThatIsNotUtf8IsSearchedAndPrintedWithTheBadBytesReplaced) {
  auto r = answeredWith({401, "Authentication failed for j\xf6rg\xff"});
  EXPECT_EQ(r.out, kContacting + "Authentication failed for j\xef\xbf\xbdrg\xef\xbf\xbd\n");
  EXPECT_EQ(r.status, 0);

  r = answeredWith({200, "\xc0\xafok"});
  EXPECT_EQ(r.out, kContacting + "Done\n");
  EXPECT_EQ(r.status, 0);
}

TEST_F(TweetTest, WithoutAServerTheConnectionFailureIsTheSubmissionError) {
  e2e::RefusingPort nobody;
  ASSERT_GT(nobody.port(), 0);
  auto r = tweet({"alice", "s3cret", "Hello"}, nobody.proxy());
  ASSERT_TRUE(e2e::exitedWith(r, 255));
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.out.rfind(kContacting + kSubmissionError, 0), 0u) << r.out;
  std::string reason = r.out.substr(kContacting.size() + kSubmissionError.size());
  EXPECT_GT(reason.size(), 1u) << "a readable reason, not nothing";
  EXPECT_NE(reason.find("port " + std::to_string(nobody.port())), std::string::npos) << reason;
  EXPECT_EQ(reason.find('\n'), reason.size() - 1) << "one line";
}

TEST_F(TweetTest, AServerThatNeverAnswersEndsInTheTimeOut) {
  e2e::SilentServer silent;
  ASSERT_GT(silent.port(), 0);
  auto start = std::chrono::steady_clock::now();
  auto r = tweet({"alice", "s3cret", "Hello"}, silent.proxy(), {{"SBKIT_HTTP_TIMEOUT", "1"}});
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(e2e::exitedWith(r, 255));
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.out.rfind(kContacting + kSubmissionError, 0), 0u) << r.out;
  EXPECT_NE(r.out.find("timed out"), std::string::npos) << r.out;
  // The shortened time-out, not the default minute.
  EXPECT_GE(seconds, 0.9);
  EXPECT_LT(seconds, 30.0);
}

TEST_F(TweetTest, ArgumentsThatAreNotUtf8AndAServiceThatIsNoBaseUrlAreRefusedBeforeAnythingIsSent) {
  e2e::HttpServer server;
  struct Case {
    std::vector<std::string> arguments;
    std::string err, service = "", refusal = "";  // printed as the submission error
  };
  const std::vector<std::string> good = {"alice", "s3cret", "hi"};
  for (const Case& c :
       {Case{{"j\xf6rg", "s3cret", "hi"}, "tweet: the user name is not UTF-8 text\n"},
        Case{{"alice", "s3cr\xe9t", "hi"}, "tweet: the password is not UTF-8 text\n"},
        Case{{"alice", "s3cret", "caf\xe9"}, "tweet: the status text is not UTF-8 text\n"},
        Case{good, "", "social.example.org/api", "is not an http:// or https:// URL"},
        Case{good, "", "http://x.org/my\tapi", "holds a blank, a control character or a byte outside ASCII"},
        Case{good, "", "http://bob@x.org/api", "is a base URL and cannot have a user part, a query or a fragment"}}) {
    auto r = tweet(c.arguments, server.proxy(), {{"SBKIT_STATUS_SERVICE", c.service}});
    EXPECT_EQ(r.out, c.refusal.empty() ? "" : kSubmissionError + "SBKIT_STATUS_SERVICE " + c.refusal + "\n");
    EXPECT_EQ(r.err, c.err);
    ASSERT_TRUE(e2e::exitedWith(r, 255));
  }
  EXPECT_TRUE(server.requests().empty());
}

// The submission error tweet printed, with its reason; "" when it printed
// something else or did not end with status 255.
std::string submissionError(const e2e::Result& r) {
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 255);
  if (r.out.rfind(kContacting + kSubmissionError, 0) != 0) {
    ADD_FAILURE() << "no submission error: " << r.out.size() << " bytes: " << r.out.substr(0, 80);
    return "";
  }
  return r.out.substr(kContacting.size());
}

TEST_F(TweetTest, AnHttpsServiceWhoseCertificateNoAuthoritySignedIsNeverSentTheUpdate) {
  // A certificate for 127.0.0.1 signed by its own key.
  const std::string root = device.root().string();
  ASSERT_EQ(e2e::shell("cd '" + root +
                       "' && openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -addext "
                       "subjectAltName=IP:127.0.0.1 -keyout key.pem -out cert.pem 2>/dev/null")
                .status,
            0);
  httplib::SSLServer server((root + "/cert.pem").c_str(), (root + "/key.pem").c_str());
  int port = server.bind_to_any_port("127.0.0.1");
  ASSERT_GT(port, 0);
  std::thread serving([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::string service = "https://127.0.0.1:" + std::to_string(port);
  auto r = tweet({"alice", "s3cret", "Hello"}, "", {{"SBKIT_STATUS_SERVICE", service}});
  server.stop();
  serving.join();
  // Trusted, the server would have answered, and tweet printed "Done".
  EXPECT_NE(submissionError(r).find("certificate"), std::string::npos) << r.out;
}

TEST_F(TweetTest, AnAnswerCutShortIsASubmissionError) {
  struct Case {
    std::string name, bytes;
  };
  for (const Case& c :
       {Case{"cut off in the headers", "HTTP/1.1 200 OK\r\nContent-Type: text/pl"},
        Case{"shorter than announced", "HTTP/1.1 401 Unauthorized\r\nContent-Length: 60\r\n\r\nAuthentication"},
        Case{"chunks without their end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nDone\r\n"}}) {
    SCOPED_TRACE(c.name);
    e2e::RawServer server(c.bytes);
    auto r = tweet({"alice", "s3cret", "Hello"}, server.proxy(), {{"SBKIT_HTTP_TIMEOUT", "10"}});
    std::string error = submissionError(r);
    EXPECT_NE(error.find("cut off"), std::string::npos) << r.out;
    EXPECT_EQ(server.connections(), 1);
  }
}

TEST_F(TweetTest, AnAnswerBeyondTheCapIsASubmissionErrorAndIsNotReadFurther) {
  const std::string tooLarge = kSubmissionError + "the answer is larger than 1 MiB\n";
  EXPECT_EQ(submissionError(answeredWith({200, std::string(1024 * 1024 + 1, 'x')})), tooLarge);

  e2e::RawServer endless("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", e2e::RawServer::Then::sendForever);
  auto start = std::chrono::steady_clock::now();
  auto r = tweet({"alice", "s3cret", "Hello"}, endless.proxy(), {{"SBKIT_HTTP_TIMEOUT", "10"}});
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(submissionError(r), tooLarge);
  EXPECT_LT(seconds, 5.0) << "stopped at the cap, not at the time-out";
}

TEST_F(TweetTest, AnAnswerOfExactlyTheCapCounts) {
  auto r = answeredWith({200, std::string(1024 * 1024, 'x')});
  EXPECT_EQ(r.out, kContacting + "Done\n");
  EXPECT_EQ(r.status, 0);
}

}  // namespace
