// The whole game under the headless host, as a process: start-up to exit, the ways to
// close it, every failure of start-up, the About box and a second copy.
#include <signal.h>

#include <chrono>
#include <cstdlib>
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
// command and the texts of each box, without the sensor read of every tick.
std::vector<std::string> Outline(const std::string& trace) {
  std::vector<std::string> outline;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    const auto field = [&](const std::string& key) {
      const std::size_t at = line.find("\"" + key + "\":");
      if (at == std::string::npos) {
        return std::string();
      }
      const std::size_t from = at + key.size() + 3;
      const std::size_t to = line.find_first_of(",}", from);
      return line.substr(from, to - from);
    };
    std::string entry = field("ev");
    entry = entry.substr(1, entry.size() - 2);
    if (entry == "call") {
      const std::string fn = field("fn");
      if (fn == "\"HTCSensorGetDataOutput\"") {
        continue;
      }
      entry += " " + fn.substr(1, fn.size() - 2);
    } else if (entry == "command" || entry == "exit") {
      entry += " " + field(entry == "command" ? "id" : "code");
    } else if (entry == "box") {
      entry += " " + field("caption") + " " + field("text") + " " + field("owner");
    }
    // A run of frames is one entry: "ticks" once a tick is among them, else "paint".
    if (entry == "tick" || entry == "paint") {
      if (!outline.empty() && (outline.back() == "ticks" || outline.back() == "paint")) {
        outline.back() = entry == "tick" ? "ticks" : outline.back();
        continue;
      }
      entry = entry == "tick" ? "ticks" : "paint";
    }
    outline.push_back(entry);
  }
  return outline;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    text += (text.empty() ? "" : " | ") + part;
  }
  return text;
}

class GameRun : public testsupport::HeadlessRuns {
 protected:
  GameRun() : HeadlessRuns(VIRETA) {}
};

TEST_F(GameRun, StartsPaintsBeforeTheSensorOpensTicksAndReleasesInOrder) {
  const Result run = Run("wait 100\n");
  ASSERT_EQ(run.code, 0) << run.errors;
  // The first paint comes inside UpdateWindow,
  // after the navigation control and before the sensor opens; ticks follow from the loop.
  EXPECT_EQ(Joined(Outline(run.trace)),
            "call HTCNavOpen | call HTCNavSetMode | call HTCNavSetMode | paint | call HTCSensorOpen | ticks | "
            "call HTCSensorClose | exit 0");
  const auto ticks = Lines(run.trace, "tick");
  ASSERT_EQ(ticks.size(), 2U);
  EXPECT_TRUE(ticks[0].starts_with("{\"ev\":\"tick\",\"ms\":50,\"read\":true,\"throttleAngle\":0,\"steerAngle\":0,"))
      << ticks[0];
  EXPECT_NE(ticks[0].find("\"clientWidth\":480,\"clientHeight\":536,\"ready\":1}"), std::string::npos) << ticks[0];
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
    EXPECT_TRUE(run.trace.ends_with("\"fn\":\"HTCSensorClose\",\"args\":[\"handle\"]}\n{\"ev\":\"exit\",\"code\":0}\n"))
        << key;
  }
}

TEST_F(GameRun, EveryFailureOfStartUpShowsItsBoxesAndEndsWithZero) {
  struct Case {
    std::string options;
    std::string outline;
  };
  const std::string nav = "call HTCNavOpen | call HTCNavSetMode | call HTCNavSetMode | ";
  const Case cases[] = {
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
  for (const Case& c : cases) {
    // The first box is answered at 100, the second at 200: ticks run behind them.
    const Result run = Run("wait 100\nok\nwait 100\nok\nwait 100\n", c.options);
    EXPECT_EQ(run.code, 0) << c.options << run.errors;
    EXPECT_EQ(Joined(Outline(run.trace)), c.outline) << c.options;
    // Each box is told on stderr too, one line each.
    std::size_t told = 0;
    for (std::size_t at = 0; (at = run.errors.find("box \"Error", at)) != std::string::npos; ++at) {
      ++told;
    }
    EXPECT_EQ(told, Lines(run.trace, "box").size()) << run.errors;
    if (c.options == "--without nav-library") {
      EXPECT_TRUE(run.errors.starts_with("box \"Error\": Unable to load HTC API DLL\n")) << run.errors;
    }
    // A tick never read the sensor while it was not open.
    for (const std::string& tick : Lines(run.trace, "tick")) {
      if (c.options.find("sensor") != std::string::npos && c.options != "--service-stops-early") {
        EXPECT_NE(tick.find("\"read\":false"), std::string::npos) << c.options << tick;
      }
    }
  }
}

TEST_F(GameRun, WithoutItsSoftKeyBarTheWindowKeepsItsSize) {
  const Result with = Run("wait 50\n");
  const Result without = Run("wait 50\n", "--without soft-key-bar");
  EXPECT_EQ(without.code, 0) << without.errors;
  EXPECT_NE(Lines(with.trace, "paint")[0].find("\"clientWidth\":480,\"clientHeight\":536"), std::string::npos);
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
  EXPECT_TRUE(fs::exists(dir_ / "run" / "about.png"));

  // And by the soft-key menu: the right soft key gives its own command to default
  // handling and opens the menu, Enter picks the menu's one item.
  const Result menu = Run("wait 100\nkey softkey2\nshot menu\nkey enter\nwait 100\nok\n", "", "menu");
  EXPECT_EQ(menu.code, 0) << menu.errors;
  EXPECT_EQ(Lines(menu.trace, "command"),
            (std::vector<std::string>{"{\"ev\":\"command\",\"ms\":100,\"id\":" + std::to_string(CMD_HELP) + "}",
                                      "{\"ev\":\"command\",\"ms\":100,\"id\":" + about + "}"}));
  EXPECT_EQ(Lines(run.trace, "refused").size() + Lines(menu.trace, "refused").size(), 0U) << run.trace << menu.trace;
}

TEST_F(GameRun, ADriveIsTheSameEveryTime) {
  const std::string drive =
      "tilt 20 0\nwait 3000\ntilt 30 8\nwait 1500\nshot turning\ntilt 50 350\nwait 2500\ntilt 10 340\n"
      "wait 4000\nshot later\n";
  const Result first = Run(drive, "", "one");
  const Result second = Run(drive, "", "two");
  ASSERT_EQ(first.code, 0) << first.errors;
  EXPECT_EQ(Lines(first.trace, "tick").size(), 220U);
  EXPECT_EQ(first.trace, second.trace);
  for (const char* shot : {"turning.png", "later.png"}) {
    EXPECT_EQ(testsupport::Read(dir_ / "one" / shot), testsupport::Read(dir_ / "two" / shot)) << shot;
  }
}

TEST_F(GameRun, ASecondCopyFindsTheFirstBringsItForwardAndEnds) {
  const std::string session = "--session gamerun-" + std::to_string(::getpid());
  // The first copy drives for a virtual day, far longer than this test lasts.
  std::ofstream(dir_ / "long.txt") << "wait 86400000\n";
  const std::string first = std::string(VIRETA) + " --headless --script " + (dir_ / "long.txt").string() + " " +
                            session + " & echo $! > " + (dir_ / "first.pid").string();
  ASSERT_EQ(std::system(first.c_str()), 0);
  const fs::path sessionFolder = [&] {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const fs::path base = runtime != nullptr && runtime[0] == '/' ? fs::path(runtime) : fs::temp_directory_path();
    return base / ("vireta-" + std::to_string(::getuid())) / ("gamerun-" + std::to_string(::getpid()));
  }();
  const pid_t firstPid = std::stoi(testsupport::Read(dir_ / "first.pid"));
  const fs::path windows = sessionFolder / (std::to_string(firstPid) + ".windows");
  for (int i = 0; i < 500 && testsupport::Read(windows).find("VIRETA") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_NE(testsupport::Read(windows).find("VIRETA"), std::string::npos) << windows;

  const Result second = Run("wait 1000\n", session);
  ::kill(firstPid, SIGTERM);
  EXPECT_EQ(second.code, 0) << second.errors;
  // No window of its own: no paint, no tick, no call, nothing but the exit.
  EXPECT_EQ(second.trace, "{\"ev\":\"exit\",\"code\":0}\n");
}

TEST_F(GameRun, OfPairsStartedTogetherInOneSessionExactlyOneRuns) {
  // Copies that would drive for a virtual day: the one that runs is ended by SIGTERM.
  std::ofstream(dir_ / "short.txt") << "wait 86400000\n";
  std::string all;
  for (int pair = 0; pair < 25; ++pair) {
    const std::string session = " --session race-" + std::to_string(::getpid()) + "-" + std::to_string(pair);
    for (int copy = 0; copy < 2; ++copy) {
      all += std::string(VIRETA) + " --headless --script " + (dir_ / "short.txt").string() + " --trace " +
             (dir_ / (std::to_string(pair) + "-" + std::to_string(copy) + ".jsonl")).string() + session +
             " & echo $! >> " + (dir_ / "pids").string() + "; ";
    }
  }
  ASSERT_EQ(std::system(all.c_str()), 0);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  std::istringstream pids(testsupport::Read(dir_ / "pids"));
  for (pid_t pid = 0; pids >> pid;) {
    ::kill(pid, SIGTERM);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  for (int pair = 0; pair < 25; ++pair) {
    int runners = 0;
    for (int copy = 0; copy < 2; ++copy) {
      const std::string trace =
          testsupport::Read(dir_ / (std::to_string(pair) + "-" + std::to_string(copy) + ".jsonl"));
      runners += trace != "{\"ev\":\"exit\",\"code\":0}\n" ? 1 : 0;
    }
    EXPECT_EQ(runners, 1) << "pair " << pair;
    // The runner ended by SIGTERM took its files, and the folder, along.
    EXPECT_FALSE(fs::exists(fs::temp_directory_path() / ("vireta-" + std::to_string(::getuid())) /
                            ("race-" + std::to_string(::getpid()) + "-" + std::to_string(pair))));
  }
}

}  // namespace
