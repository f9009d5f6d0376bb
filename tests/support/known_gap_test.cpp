// The known-gap marker both ways: a gap still open keeps its failures from the test, a
// closed one fails it, and either way the checks after the block count as ever.
#include "support/known_gap.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

namespace {

// What `test` reported: how many failures, and their messages run together.
std::tuple<int, std::string> Reported(const std::function<void()>& test) {
  ::testing::TestPartResultArray results;
  {
    const ::testing::ScopedFakeTestPartResultReporter capture(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    test();
  }
  int failures = 0;
  std::string messages;
  for (int i = 0; i < results.size(); ++i) {
    if (results.GetTestPartResult(i).failed()) {
      ++failures;
      messages += results.GetTestPartResult(i).message();
    }
  }
  return {failures, messages};
}

bool reachedAfterFatal = false;

void GapEndedByAFatalFailure() {
  KNOWN_GAP("a fatal failure") {
    ASSERT_EQ(1, 2);
    reachedAfterFatal = true;
  }
}

TEST(KnownGap, StillOpenPassesAndClosedFails) {
  // The block, what the test then reports (failures, a part of their message).
  const std::tuple<const char*, std::function<void()>, int, const char*> rows[] = {
      {"a failing check",
       [] {
         KNOWN_GAP("one") { EXPECT_EQ(1, 2); }
       },
       0, ""},
      {"one failing among passing ones",
       [] {
         KNOWN_GAP("one of three") {
           EXPECT_EQ(1, 1);
           EXPECT_EQ(1, 2);
           EXPECT_EQ(2, 2);
         }
       },
       0, ""},
      {"a fatal failure", GapEndedByAFatalFailure, 0, ""},
      {"checks that pass",
       [] {
         KNOWN_GAP("now right") { EXPECT_EQ(1, 1); }
       },
       1, "known gap closed: now right"},
      {"no check at all",
       [] {
         KNOWN_GAP("empty") {}
       },
       1, "remove its KNOWN_GAP marker"},
      {"a failure after the block",
       [] {
         KNOWN_GAP("held") { EXPECT_EQ(1, 2); }
         ADD_FAILURE() << "after the gap";
       },
       1, "after the gap"},
      {"two gaps, the second closed",
       [] {
         KNOWN_GAP("open") { EXPECT_EQ(1, 2); }
         KNOWN_GAP("closed") { EXPECT_EQ(2, 2); }
       },
       1, "known gap closed: closed"},
  };
  for (const auto& [block, test, failures, message] : rows) {
    SCOPED_TRACE(block);
    reachedAfterFatal = false;
    const auto [reported, messages] = Reported(test);
    EXPECT_EQ(reported, failures) << messages;
    EXPECT_NE(messages.find(message), std::string::npos) << messages;
    EXPECT_FALSE(reachedAfterFatal);
  }
}

}  // namespace
