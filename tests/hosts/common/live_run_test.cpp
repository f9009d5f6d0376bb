// A live run driven by a pretend user on a pretend clock: input takes its turn behind
// due ticks, the tilt is read after every tick, closing answers boxes before it ends the
// session, and a busy program still gives its host turns.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "live_run.h"
#include "platform/host/boot.h"
#include "platform/host/clock.h"
#include "support/demo_window.h"
#include "support/fresh_handset.h"

namespace {

// What the user does, at real times on the pretend host's clock.
struct Act {
  std::uint64_t at;
  enum class Kind { Key, Tap, Close } kind;
  std::string key;
};

class PretendHost {
 public:
  explicit PretendHost(std::vector<Act> acts) : acts_(std::move(acts)) {}

  kit::LiveHost Host() {
    kit::LiveHost host;
    host.realMs = [this] { return real += readCost; };
    host.takeInput = [this](kit::LiveRun& run) {
      for (; next_ < acts_.size() && acts_[next_].at <= real; ++next_) {
        const Act& act = acts_[next_];
        if (act.kind == Act::Kind::Key) {
          run.Key(act.key, act.at);
        } else if (act.kind == Act::Kind::Tap) {
          run.Tap(POINT{5, 6}, act.at);
        } else {
          run.Close();
        }
      }
    };
    // Tipped one degree further every tick, so each tick's reading is a new tilt.
    host.samplePose = [](double) { return kit::PhonePose{20.0 + handset::host::Now() / 50, 0.0}; };
    host.present = [this](const handset::host::ScreenPixels&, bool) { shownAt.push_back(real); };
    host.wait = [this](DWORD ms) {
      waits.push_back(ms);
      // A stall: the host comes back much later than it asked.
      const std::uint64_t until = real + ms + (stallAt != 0 && real >= stallAt ? std::exchange(stallFor, 0) : 0);
      real = next_ < acts_.size() && acts_[next_].at < until ? std::max(real, acts_[next_].at) : until;
    };
    host.tell = [this](const std::string& line) { told.push_back(line); };
    host.busyTurnMs = 10;
    return host;
  }

  std::uint64_t real = 1000;
  std::uint64_t readCost = 0;
  std::uint64_t stallAt = 0;
  std::uint64_t stallFor = 0;
  std::vector<DWORD> waits;
  std::vector<std::uint64_t> shownAt;
  std::vector<std::string> told;

 private:
  std::vector<Act> acts_;
  std::size_t next_ = 0;
};

class LiveRunTest : public testsupport::FreshHandset {
 protected:
  LiveRunTest() {
    handset::host::BootSettings settings;
    settings.program.name = u"live";
    std::string error;
    instance_ = handset::host::Boot(settings, error);
    EXPECT_NE(instance_, nullptr) << error;
    recorder_.Keep();
  }

  int Run(PretendHost& user) {
    kit::LiveRun run(user.Host(), recorder_);
    const int code = run.Run(instance_, testsupport::DemoMain);
    run.EndRecording();
    return code;
  }

  HINSTANCE instance_ = nullptr;
  kit::ScriptRecorder recorder_;
};

TEST_F(LiveRunTest, InputWaitsBehindDueTicksAndEveryTickReadsTheTilt) {
  PretendHost user({{1130, Act::Kind::Key, "a"}, {1160, Act::Kind::Tap, {}}, {1230, Act::Kind::Close, {}}});
  EXPECT_EQ(Run(user), 7);
  EXPECT_EQ(recorder_.Text(),
            "tilt 20 0\nwait 50\ntilt 21 0\nwait 50\ntilt 22 0\nwait 30\nkey a\nwait 20\ntilt 23 0\nwait 10\n"
            "tap 5 6\nwait 40\ntilt 24 0\nwait 30\n# session ended at 230 ms after 4 ticks\n");
  EXPECT_EQ(testsupport::TheDemo().ticks, 4);
  // The host waited for each tick and each input, never past one, and saw the screen
  // before each wait.
  EXPECT_EQ(user.waits.front(), 0U);  // a turn before the program starts
  for (std::size_t i = 1; i < user.waits.size(); ++i) {
    EXPECT_LE(user.waits[i], 50U) << i;
  }
  EXPECT_FALSE(user.shownAt.empty());
  EXPECT_TRUE(user.told.empty());
}

TEST_F(LiveRunTest, ClosingAnswersTheOpenBoxFirstAndIgnoresWhatComesAfter) {
  PretendHost user({{1100, Act::Kind::Key, "b"}, {1200, Act::Kind::Close, {}}, {1300, Act::Kind::Key, "c"}});
  EXPECT_EQ(Run(user), 7);
  // Cancel, where the box has it, as at the end of a session.
  EXPECT_NE(recorder_.Text().find("ok cancel\n# session ended at 200 ms"), std::string::npos) << recorder_.Text();
  EXPECT_EQ(recorder_.Text().find("key c"), std::string::npos);
}

TEST_F(LiveRunTest, AProgramThatIgnoresTheCloseIsEndedAfterItsGrace) {
  PretendHost user({{1100, Act::Kind::Key, "x"}, {1200, Act::Kind::Close, {}}});
  EXPECT_EQ(Run(user), 0);
  ASSERT_EQ(user.told.size(), 1U);
  EXPECT_EQ(user.told[0], "the program kept running after its window was closed; ending it");
  // Ticks went on through the grace, and no longer.
  EXPECT_GE(testsupport::TheDemo().ticks, (200 + 10000) / 50);
  EXPECT_LE(testsupport::TheDemo().ticks, (200 + 10000) / 50 + 2);
}

TEST_F(LiveRunTest, CatchingUpAfterAStallDeliversEveryTickAndGivesTheHostTurns) {
  PretendHost user({{5000, Act::Kind::Close, {}}});
  user.stallAt = 1100;  // back three seconds late
  user.stallFor = 3000;
  user.readCost = 1;  // every look at the clock costs a millisecond: the program is busy
  EXPECT_EQ(Run(user), 7);
  EXPECT_GE(testsupport::TheDemo().ticks, 3900 / 50);
  // While catching up, the host had turns about every 10 ms of its clock and saw the
  // screen each time, not once at the end.
  const auto turns = std::count(user.waits.begin() + 1, user.waits.end(), 0U);
  EXPECT_GE(turns, 10);
  EXPECT_GE(user.shownAt.size(), static_cast<std::size_t>(turns));
}

}  // namespace
