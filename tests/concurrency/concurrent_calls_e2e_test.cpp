// Badge and status-bar calls started together against one device: each is
// journalled exactly once in a line of its own, and SpringBoard's visible state
// holds every one of them afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

using platform::plist::Value;

namespace {

struct Call {
  std::string program;
  std::vector<std::string> arguments;
  std::string journalled;  // the call's journal line without its time
  const char* section;     // where the visible state keeps it
  std::string name;
  Value visible;
};

std::vector<Call> fiftyCalls() {
  std::vector<Call> calls;
  for (int i = 0; i < 20; ++i) {
    std::string id = "com.example.concurrent" + std::to_string(i), number = std::to_string(i + 1);
    calls.push_back({"iconcount",
                     {"id", id, number},
                     "SBSetApplicationBadgeNumber\t" + id + "\t" + number,
                     "badges",
                     id,
                     Value(i + 1)});
  }
  const std::pair<const char*, const char*> kStock[] = {{"Stocks", "com.apple.stocks"},
                                                        {"Weather", "com.apple.weather"},
                                                        {"MobileMail", "com.apple.mobilemail"},
                                                        {"Maps", "com.apple.Maps"},
                                                        {"MobileSafari", "com.apple.mobilesafari"}};
  for (const auto& [folder, id] : kStock) {
    std::string text = std::string("new in ") + folder;
    calls.push_back({"badge",
                     {folder, text},
                     "SBSetApplicationBadge\t" + std::string(id) + "\t" + text,
                     "badges",
                     id,
                     Value(text)});
  }
  for (int i = 0; i < 25; ++i) {
    std::string item = "Item" + std::to_string(i);
    calls.push_back({"indicator",
                     {"-s", item},
                     "SBAddStatusBarItem\tcom.tovek.SlimDemo\t" + item,
                     "statusBarItems",
                     item,
                     Value("com.tovek.SlimDemo")});
  }
  return calls;
}

TEST(ConcurrentCalls, EveryBadgeAndStatusBarCallIsJournalledOnceAndStaysVisible) {
  e2e::TemporaryDevice device;
  const std::vector<Call> calls = fiftyCalls();
  std::vector<e2e::Result> results(calls.size());
  std::vector<std::string> failures(calls.size());
  {
    std::latch start(static_cast<std::ptrdiff_t>(calls.size()));
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < calls.size(); ++i)
      threads.emplace_back([&, i] {
        start.arrive_and_wait();
        try {
          results[i] = e2e::runProgram(device, calls[i].program, calls[i].arguments);
        } catch (const std::exception& e) {
          failures[i] = e.what();
        }
      });
  }

  std::vector<std::string> expectedJournal;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    ASSERT_EQ(failures[i], "") << calls[i].journalled;
    ASSERT_TRUE(results[i].exited) << calls[i].journalled << ": signal " << results[i].signal;
    EXPECT_EQ(results[i].status, 0) << calls[i].journalled;
    EXPECT_EQ(results[i].err, "") << calls[i].journalled;
    expectedJournal.push_back("SBSSpringBoardServerPort");
    expectedJournal.push_back(calls[i].journalled);
  }

  // Every line whole: a time, then one call; together exactly the calls made.
  std::istringstream raw(e2e::fileBytes(device.host("/private/var/sim/journal")));
  const std::regex timed(R"(\d+\.\d{3}\t[^\t]+(\t[^\t]*)*)");
  for (std::string line; std::getline(raw, line);) EXPECT_TRUE(std::regex_match(line, timed)) << line;
  std::vector<std::string> journal = device.journal();
  std::sort(journal.begin(), journal.end());
  std::sort(expectedJournal.begin(), expectedJournal.end());
  EXPECT_EQ(journal, expectedJournal);

  for (const Call& call : calls)
    EXPECT_EQ(e2e::visibleEntry(device, call.section, call.name), call.visible) << call.journalled;
}

}  // namespace
