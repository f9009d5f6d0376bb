// The whole game driven across the wrap of the handset's 32-bit tick count: the same
// drive as from zero, event for event, but for the times.
#include <cstdint>
#include <sstream>
#include <string>

#include "support/headless_runs.h"

namespace {

using testsupport::Result;

// The trace with every "ms" taken back by `start`, modulo 2^32.
std::string FromBoot(const std::string& trace, std::uint32_t start) {
  std::string out;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    const std::string key = "\"ms\":";
    if (const std::size_t at = line.find(key); at != std::string::npos) {
      const std::size_t from = at + key.size();
      const std::size_t to = line.find_first_of(",}", from);
      const auto ms = static_cast<std::uint32_t>(std::stoull(line.substr(from, to - from)));
      line.replace(from, to - from, std::to_string(static_cast<std::uint32_t>(ms - start)));
    }
    out += line + '\n';
  }
  return out;
}

class ClockWrap : public testsupport::HeadlessRuns {
 protected:
  ClockWrap() : HeadlessRuns(VIRETA) {}
};

TEST_F(ClockWrap, ADriveAcrossTheWrapIsTheDriveFromZero) {
  // The first wait crosses the wrap; the drive tilts, steers and opens the menu after it.
  const std::string drive =
      "tilt 20 0\nwait 3000\ntilt 40 8\nwait 4000\ntilt 60 350\nwait 5000\nkey softkey2\nwait 500\nkey escape\n"
      "tilt 10 340\nwait 4000\ntilt 30 10\nwait 3500\n";
  const Result zero = Run(drive, "", "zero");
  ASSERT_EQ(zero.code, 0) << zero.errors;
  constexpr std::uint32_t kStart = 4294967295U - 1234U;
  const Result wrapped = Run(drive, "--clock " + std::to_string(kStart), "wrapped");
  ASSERT_EQ(wrapped.code, 0) << wrapped.errors;
  EXPECT_NE(wrapped.trace.find("\"ms\":" + std::to_string(kStart + 50U) + ","), std::string::npos);
  EXPECT_GT(testsupport::Lines(zero.trace, "tick").size(), 300U);
  EXPECT_EQ(FromBoot(wrapped.trace, kStart), zero.trace);
}

}  // namespace
