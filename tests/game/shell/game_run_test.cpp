// The whole game under the headless host, as a process: start-up to exit, the ways to
// close it, every failure of start-up, the About box, copies started together and a
// drive across the wrap of the handset's 32-bit tick count.
#include <signal.h>
#include <spawn.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "resource_ids.h"
#include "support/headless_runs.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Lines;
using testsupport::Result;

// A trace reduced to its events' names, with the function of each call, the id of each
// command, the code of the exit and the texts of each box, without the sensor read of
// every tick. A run of frames is one entry: "ticks" once a tick is among them, else "paint".
std::string Outline(const std::string& trace) {
  static const std::regex kNamed(R"re("(?:ev|fn|id|code)":"?([^",}]*)|"(?:caption|text|owner)":("[^"]*"|\d+))re");
  std::vector<std::string> outline;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    std::string entry;
    for (std::sregex_iterator it(line.begin(), line.end(), kNamed), end; it != end; ++it) {
      entry += (entry.empty() ? "" : " ") + ((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
    }
    entry = entry == "tick" ? "ticks" : entry;
    if ((entry == "ticks" || entry == "paint") && !outline.empty() &&
        (outline.back() == "ticks" || outline.back() == "paint")) {
      outline.back() = entry == "ticks" ? entry : outline.back();
    } else if (entry != "call HTCSensorGetDataOutput") {
      outline.push_back(entry);
    }
  }
  std::string text;
  for (const std::string& part : outline) {
    text += (text.empty() ? "" : " | ") + part;
  }
  return text;
}

// The trace with every "ms" taken back by `start`, modulo 2^32.
std::string FromBoot(const std::string& trace, std::uint32_t start) {
  static const std::regex kMs("\"ms\":(\\d+)");
  std::string out;
  auto from = trace.cbegin();
  for (std::sregex_iterator it(trace.begin(), trace.end(), kMs), end; it != end; ++it) {
    out.append(from, (*it)[1].first) += std::to_string(static_cast<std::uint32_t>(std::stoul((*it)[1]) - start));
    from = (*it)[1].second;
  }
  return out.append(from, trace.cend());
}

// Whether `shot` is byte for byte the picture kept under its name in data/; with
// VIRETA_UPDATE_GOLDEN=1 it becomes that picture.
bool SameAsKept(const fs::path& shot) {
  const fs::path kept = fs::path(GAME_GOLDEN_DIR) / shot.filename();
  const char* update = std::getenv("VIRETA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    fs::copy_file(shot, kept, fs::copy_options::overwrite_existing);
  }
  return fs::exists(shot) && testsupport::Read(shot) == testsupport::Read(kept);
}

// A command started in the background with its output dropped, killed if it still runs
// when the test is done with it.
class Background {
 public:
  explicit Background(const std::string& command) : command_("exec " + command + " >/dev/null 2>&1") {
    std::string sh = "sh";
    std::string c = "-c";
    char* argv[] = {sh.data(), c.data(), command_.data(), nullptr};
    pid_ = posix_spawnp(&pid_, "sh", nullptr, nullptr, argv, environ) == 0 ? pid_ : -1;
  }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;
  ~Background() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // Whether it ends within `limit`, after `signal` if one is given.
  bool EndsWithin(std::chrono::milliseconds limit, int signal = 0) {
    if (signal != 0 && pid_ > 0 && !ended_) {
      kill(pid_, signal);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0 && !ended_ && !(ended_ = waitpid(pid_, nullptr, WNOHANG) == pid_) &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ended_;
  }

 private:
  std::string command_;
  pid_t pid_ = -1;
  bool ended_ = false;
};

class GameRun : public testsupport::HeadlessRuns {
 protected:
  GameRun() : HeadlessRuns(VIRETA) {}
};
using ClockWrap = GameRun;

TEST_F(GameRun, StartsPaintsBeforeTheSensorOpensTicksAndReleasesInOrder) {
  const Result run = Run("wait 100\n");
  ASSERT_EQ(run.code, 0) << run.errors;
  // The first paint comes inside UpdateWindow,
  // after the navigation control and before the sensor opens; ticks follow from the loop.
  EXPECT_EQ(Outline(run.trace),
            "call HTCNavOpen | call HTCNavSetMode | call HTCNavSetMode | paint | call HTCSensorOpen | ticks | "
            "call HTCSensorClose | exit 0");
  EXPECT_NE(run.trace.find(
                "\"HTCNavOpen\",\"args\":[\"main\",1]}\n{\"ev\":\"call\",\"ms\":0,\"fn\":\"HTCNavSetMode\","
                "\"args\":[\"main\",4]}\n{\"ev\":\"call\",\"ms\":0,\"fn\":\"HTCNavSetMode\",\"args\":[\"main\",5]}"),
            std::string::npos);
  const auto ticks = Lines(run.trace, "tick");
  ASSERT_EQ(ticks.size(), 2U);
  EXPECT_TRUE(ticks[0].starts_with("{\"ev\":\"tick\",\"ms\":50,\"read\":true,\"throttleAngle\":0,\"steerAngle\":0,"))
      << ticks[0];
  EXPECT_NE(Lines(run.trace, "paint")[0].find("\"clientWidth\":480,\"clientHeight\":536"), std::string::npos);
  EXPECT_TRUE(run.errors.empty()) << run.errors;
}

TEST_F(GameRun, LeftSoftKeyAndCtrlQEachEndTheGame) {
  for (const char* key : {"softkey1", "ctrl+q"}) {
    const Result run = Run(std::string("wait 100\nkey ") + key + "\nwait 1000\n");
    EXPECT_EQ(run.code, 0) << key << run.errors;
    EXPECT_EQ(Lines(run.trace, "command"),
              std::vector<std::string>{"{\"ev\":\"command\",\"ms\":100,\"id\":" + std::to_string(CMD_OK) + "}"})
        << key;
    EXPECT_EQ(Lines(run.trace, "tick").size(), 2U) << key;
    EXPECT_TRUE(run.errors.empty()) << key << run.errors;
    EXPECT_TRUE(run.trace.ends_with("\"fn\":\"HTCSensorClose\",\"args\":[\"handle\"]}\n{\"ev\":\"exit\",\"code\":0}\n"))
        << key;
  }
}

TEST_F(GameRun, EveryFailureOfStartUpShowsItsBoxesAndEndsWithZero) {
  const std::string nav = "call HTCNavOpen | call HTCNavSetMode | call HTCNavSetMode | ";
  const std::pair<std::string, std::string> cases[] = {
      {"--without sensor-service",
       "box \"Error\" \"Unable to create Sensor Event\" \"main\" | ticks | "
       "box \"Error06\" \"Unable to load Sensor DLL\" \"none\" | ticks | exit 0"},
      {"--without sensor-library", nav + "paint | box \"Error\" \"Unable to load Sensor DLL\" \"none\" | ticks | "
                                         "box \"Error01\" \"Unable to load Sensor DLL\" \"none\" | ticks | exit 0"},
      {"--lacking HTCSensorSDK.dll:HTCSensorGetDataOutput",
       nav + "paint | box \"Error\" \"Unable to find entry point\" \"none\" | ticks | "
             "box \"Error01\" \"Unable to load Sensor DLL\" \"none\" | ticks | exit 0"},
      // The navigation control's failure is shown and the game goes on.
      {"--without nav-library",
       "box \"Error\" \"Unable to load HTC API DLL\" \"main\" | ticks | call HTCSensorOpen | ticks | "
       "call HTCSensorClose | exit 0"},
      {"--lacking HTCAPI.dll:HTCNavSetMode",
       "box \"Error\" \"Unable to find entry point\" \"main\" | ticks | "
       "call HTCSensorOpen | ticks | call HTCSensorClose | exit 0"},
      // Without change notifications the game runs as ever.
      {"--without aygshell-notify", nav + "paint | call HTCSensorOpen | ticks | call HTCSensorClose | exit 0"},
      // Shutdown finds the service gone: the stop reports it, the exit code stays 0.
      {"--service-stops-early", nav + "paint | call HTCSensorOpen | ticks | call HTCSensorClose | "
                                      "box \"Error\" \"Unable to create Sensor Event\" \"none\" | exit 0"},
  };
  for (const auto& [options, outline] : cases) {
    // The first box is answered at 100, the second at 200: ticks run behind them.
    const Result run = Run("wait 100\nok\nwait 100\nok\nwait 100\n", options);
    EXPECT_EQ(run.code, 0) << options << run.errors;
    EXPECT_EQ(Outline(run.trace), outline) << options;
    // A tick never read the sensor while it was not open.
    const bool closed = options.find("sensor") != std::string::npos && options != "--service-stops-early";
    for (const std::string& tick : Lines(run.trace, "tick")) {
      EXPECT_TRUE(!closed || tick.find("\"read\":false") != std::string::npos) << options << tick;
    }
  }
}

TEST_F(GameRun, WithoutItsSoftKeyBarTheWindowKeepsItsSize) {
  // The bar's 52 pixels are the window's (the runs above show it 536 high).
  const Result without = Run("wait 50\n", "--without soft-key-bar");
  EXPECT_EQ(without.code, 0) << without.errors;
  EXPECT_NE(Lines(without.trace, "paint")[0].find("\"clientWidth\":480,\"clientHeight\":588"), std::string::npos)
      << without.trace;
  EXPECT_EQ(Lines(without.trace, "tick").size(), 1U);
}

TEST_F(GameRun, AboutBoxKeepsTheRaceGoingAndClosesOnlyOnOk) {
  const std::string about = std::to_string(CMD_ABOUT);
  // Opened by Ctrl+A; the shortcuts, Escape (IDCANCEL) and the soft keys' Ctrl+Q do
  // nothing while it is up; steering still reaches the car behind it.
  const Result run =
      Run("wait 100\nkey ctrl+a\nwait 100\nkey ctrl+a\nkey ctrl+q\nkey escape\ntilt 30 10\nwait 100\nshot about\nok\n"
          "wait 100\n");
  ASSERT_EQ(run.code, 0) << run.errors;
  EXPECT_EQ(Lines(run.trace, "command"),
            std::vector<std::string>{"{\"ev\":\"command\",\"ms\":100,\"id\":" + about + "}"});
  const auto ticks = Lines(run.trace, "tick");
  ASSERT_EQ(ticks.size(), 8U) << run.trace;
  EXPECT_NE(ticks[4].find("\"ms\":250,\"read\":true,\"throttleAngle\":30,\"steerAngle\":10"), std::string::npos)
      << ticks[4];
  EXPECT_TRUE(SameAsKept(dir_ / "run" / "about.png"));

  // And by the soft-key menu: the right soft key gives its own command to default
  // handling and opens the menu, Enter picks the menu's one item.
  const Result menu = Run("wait 100\nkey softkey2\nshot menu\nkey enter\nwait 100\nok\n", "", "menu");
  EXPECT_EQ(menu.code, 0) << menu.errors;
  EXPECT_EQ(Lines(menu.trace, "command"),
            (std::vector<std::string>{"{\"ev\":\"command\",\"ms\":100,\"id\":" + std::to_string(CMD_HELP) + "}",
                                      "{\"ev\":\"command\",\"ms\":100,\"id\":" + about + "}"}));
  EXPECT_EQ(Lines(run.trace, "refused").size() + Lines(menu.trace, "refused").size(), 0U) << run.trace << menu.trace;
}

// Pairs of copies started together in one session: exactly one of each pair runs, the
// other finds it, makes no window and ends; the runner, ended by SIGTERM, takes its
// files and its session's folder along.
TEST_F(GameRun, OfPairsStartedTogetherInOneSessionExactlyOneRuns) {
  const fs::path runtime = dir_ / "runtime";
  fs::create_directory(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  std::ofstream(dir_ / "day.txt") << "wait 86400000\n";  // a virtual day: far longer than the test
  constexpr std::size_t kPairs = 12;
  std::vector<std::unique_ptr<Background>> copies;
  for (std::size_t n = 0; n < 2 * kPairs; ++n) {
    copies.push_back(std::make_unique<Background>("env XDG_RUNTIME_DIR=" + runtime.string() + " " + VIRETA +
                                                  " --headless --script " + (dir_ / "day.txt").string() + " --trace " +
                                                  (dir_ / (std::to_string(n) + ".jsonl")).string() +
                                                  " --session race-" + std::to_string(n / 2)));
  }
  const auto ended = [&](std::size_t copy) { return copies[copy]->EndsWithin(std::chrono::milliseconds(0)); };
  for (std::size_t pair = 0; pair < kPairs; ++pair) {
    for (int i = 0; i < 1000 && !ended(2 * pair) && !ended(2 * pair + 1); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a second loser would have ended by now
  for (std::size_t pair = 0; pair < kPairs; ++pair) {
    int runners = 0;
    for (std::size_t copy = 2 * pair; copy < 2 * pair + 2; ++copy) {
      if (ended(copy)) {
        EXPECT_EQ(testsupport::Read(dir_ / (std::to_string(copy) + ".jsonl")), "{\"ev\":\"exit\",\"code\":0}\n");
        continue;
      }
      ++runners;
      EXPECT_TRUE(copies[copy]->EndsWithin(std::chrono::seconds(10), SIGTERM)) << "copy " << copy;
    }
    EXPECT_EQ(runners, 1) << "pair " << pair;
  }
  for (const auto& entry : fs::recursive_directory_iterator(runtime)) {
    EXPECT_EQ(entry.path().parent_path(), runtime) << entry.path() << " was left behind";
  }
}

// The same drive as from zero, event for event, but for the times.
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
