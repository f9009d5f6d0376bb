// Whole runs of the demo program through the headless host, as a process: its exit
// code, its trace and its screenshots. Keys, vendor calls and the same drive twice are
// the game runs' (tests/game/shell).
#include <winuser.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/png_file.h"
#include "support/headless_runs.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Lines;
using testsupport::Read;
using testsupport::Result;

class HostRun : public testsupport::HeadlessRuns {
 protected:
  HostRun() : HeadlessRuns(HEADLESS_DEMO) {}
};

TEST_F(HostRun, BoxOpensOnItsTickTicksGoOnAndOkAnswersIt) {
  const Result run = Run("wait 1000\nok\nwait 100\nshot screen\n", "--screen 240x320");
  EXPECT_EQ(run.code, 7) << run.errors;
  // A shot is a picture of the whole screen.
  std::string error;
  const auto picture = handset::ReadPng(dir_ / "run" / "screen.png", error);
  ASSERT_TRUE(picture.has_value()) << error;
  EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(240, 320));
  const auto ticks = Lines(run.trace, "tick");
  ASSERT_EQ(ticks.size(), 22U) << run.trace;
  EXPECT_EQ(ticks[19], "{\"ev\":\"tick\",\"ms\":1000,\"n\":20}");
  const auto boxes = Lines(run.trace, "box");
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0],
            "{\"ev\":\"box\",\"ms\":500,\"caption\":\"Demo\",\"text\":\"Ten ticks\",\"owner\":\"main\",\"style\":" +
                std::to_string(MB_OK) + "}");
  EXPECT_EQ(run.errors, "box \"Demo\": Ten ticks\n");
}

TEST_F(HostRun, OkWithNoBoxOrNoSuchButtonAndRefusedCallsAreNotedAndTheRunGoesOn) {
  const Result run = Run("wait 10\nok\nkey r\nwait 990\nok no\n");
  EXPECT_EQ(run.code, 7);
  EXPECT_NE(run.errors.find("run.txt:2: ok: no box is open"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("run.txt:5: ok no: no open box has that button"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("refused ExtTextOutW: not a device context\n"), std::string::npos) << run.errors;
  EXPECT_NE(run.trace.find("{\"ev\":\"refused\",\"ms\":10,\"fn\":\"ExtTextOutW\",\"reason\":\"not a device context\"}"),
            std::string::npos)
      << run.trace;
}

TEST_F(HostRun, ProgramThatIgnoresCloseEndsTheRunWithCodeThree) {
  const Result run = Run("key x\nwait 100\n");
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.errors.find("ignored WM_CLOSE"), std::string::npos) << run.errors;
  EXPECT_TRUE(Lines(run.trace, "exit").empty());
  // Its timer went on through the grace period before the host gave up.
  EXPECT_GT(Lines(run.trace, "tick").size(), 100U);
  EXPECT_TRUE(run.trace.ends_with("ignored WM_CLOSE)\"}\n")) << run.trace;
}

TEST_F(HostRun, FailedShotStopsTheRunWithItsTraceSoFar) {
  // A folder where the picture should go: the shot cannot be put in place.
  fs::create_directories(dir_ / "run" / "x.png");
  const Result run = Run("wait 100\nshot x\nwait 100\n");
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.errors.find("run.txt:2: shot: "), std::string::npos) << run.errors;
  EXPECT_EQ(Lines(run.trace, "tick").size(), 2U) << run.trace;
  EXPECT_EQ(Lines(run.trace, "error").size(), 1U) << run.trace;
}

TEST_F(HostRun, BadScriptsAndOptionsStopBeforeTheRun) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"wait 1\nwait abc\n", "", "run.txt:2: wait needs one number of milliseconds (0..2147483647), got \"abc\"\n"},
      {"tap 480 10\n", "", "run.txt:1: tap 480 10 is off the 480x640 screen\n"},
      {"wait 1\n", "--bogus", "unknown option \"--bogus\" (--help lists the options)\n"},
      {"wait 1\n", "--trace a --trace b", "--trace given twice\n"},
      {"wait 1\n", "--screen 480", "screen size '480' is not WIDTHxHEIGHT, e.g. 480x640\n"},
      {"wait 1\n", "--screen 240x251", "screen 240x251 leaves 199 pixels between its bars; the program needs 200\n"},
      {"wait 1\n", "--screen 100x100", "screen 100x100 is outside the sizes a handset has (240x240 to 1440x2560)\n"},
  };
  for (const auto& [script, options, message] : cases) {
    const Result run = Run(script, options);
    EXPECT_EQ(run.code, 2) << options;
    // One line, naming the problem, and no trace begun: only the script, its shots'
    // folder and what it said.
    EXPECT_TRUE(run.errors.ends_with(message)) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3) << options;
  }
  // Files that cannot be read or written: refused before the run, saying why, leaving
  // everything as it was.
  const std::string script = (dir_ / "ok.txt").string();
  const std::string shots = (dir_ / "shot.txt").string();
  const std::string folder = (dir_ / "folder").string();
  const std::string dotted = (dir_ / "." / "ok.txt").string();
  std::ofstream(script) << "wait 1\n";
  std::ofstream(shots) << "shot a\n";
  std::ofstream(dir_ / "err.err");
  fs::create_directories(folder);
  const std::pair<std::string, std::string> files[] = {
      {"--script /nonexistent/run.txt", "/nonexistent/run.txt: cannot read: No such file or directory"},
      {"--trace /nonexistent/t.jsonl", "/nonexistent/t.jsonl: cannot write the trace: No such file or directory"},
      {"--trace " + folder, folder + ": cannot write the trace: Is a directory"},
      {"--trace " + script, script + ": cannot write the trace: it is " + script + " itself"},
      {"--trace " + dotted, dotted + ": cannot write the trace: it is " + script + " itself"},
      {"--script " + shots + " --shots /nonexistent/shots", "--shots /nonexistent/shots: no such folder"},
  };
  const auto entries = [this] { return std::distance(fs::directory_iterator(dir_), fs::directory_iterator()); };
  const auto before = entries();
  for (const auto& [args, message] : files) {
    const std::string given = args.starts_with("--script") ? args : "--script " + script + " " + args;
    EXPECT_EQ(Shell(std::string(HEADLESS_DEMO) + " " + given, "err"), 2) << args;
    EXPECT_EQ(testsupport::Read(dir_ / "err.err"), message + "\n");
    EXPECT_EQ(testsupport::Read(script), "wait 1\n");
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(entries(), before) << args;
  }
}

}  // namespace
