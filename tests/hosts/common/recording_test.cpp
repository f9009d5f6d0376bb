// Recordings that replay as made: the header names what shaped the session, waits wrap
// with the clock, a write that fails leaves whole lines, and a replay takes the header
// over a command line that repeats it but refuses one that contradicts it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "recorded_options.h"
#include "script.h"
#include "script_recorder.h"

namespace {

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::filesystem::path Folder(const std::string& name) {
  auto folder = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

kit::HandsetOptions Options(const std::vector<std::string>& args) {
  kit::HandsetOptions options;
  std::string error;
  for (std::size_t i = 0; i < args.size(); ++i) {
    EXPECT_TRUE(kit::TakeHandsetOption(args, i, options, error)) << args[i];
    EXPECT_EQ(error, "");
  }
  return options;
}

TEST(Recording, StartsWithItsHeaderAndCountsWaitsAcrossTheClocksWrap) {
  kit::ScriptRecorder recorder;
  recorder.Keep();
  const kit::HandsetOptions options = Options({"--clock", "4294967200", "--screen", "240x320"});
  recorder.Begin(options.clock, kit::RecordingHeader("vireta 1.0", kit::RecordingOptions(options)));
  recorder.Tilt(4294967200U, 44, 0);  // at boot: no wait
  recorder.Tilt(4294967250U, 44, 5);
  recorder.Key(4U, "enter");  // past the wrap
  recorder.Tilt(3U, 44, 6);   // out of order: kept at the current time
  recorder.End(54U, 5, "laps 12.50, best 12.50");
  const std::string text = recorder.Text();
  EXPECT_EQ(text,
            "# recording: vireta 1.0: --screen 240x320 --clock 4294967200\n"
            "tilt 44 0\nwait 50\ntilt 44 5\nwait 50\nkey enter\ntilt 44 6\nwait 50\n"
            "# session ended at 54 ms after 5 ticks; laps 12.50, best 12.50\n");
  std::string error;
  const auto script = kit::ParseScript(text, "drive.txt", error);
  ASSERT_TRUE(script) << error;
  ASSERT_TRUE(script->recordedWith);
  EXPECT_EQ(script->recordedWith->program, "vireta 1.0");
  EXPECT_EQ(script->recordedWith->options, (std::vector<std::string>{"--screen", "240x320", "--clock", "4294967200"}));
  // Only the first comment, before any command, is a header.
  const auto late = kit::ParseScript("tilt 1 2\n# recording: vireta 1.0: --screen 240x320\n", "x", error);
  ASSERT_TRUE(late);
  EXPECT_FALSE(late->recordedWith);
}

TEST(Recording, ReplayTakesTheHeaderAndRefusesWhatContradictsIt) {
  const kit::RecordedWith with{"vireta 1.0", {"--screen", "240x320", "--clock", "7", "--without", "soft-key-bar"}, 1};
  struct Case {
    std::vector<std::string> given;
    std::string error;
  };
  const Case cases[] = {
      {{}, ""},
      {{"--screen", "240x320", "--clock", "7", "--session", "s"}, ""},  // repeated, and what does not shape it
      {{"--without", "soft-key-bar"}, ""},
      {{"--screen", "480x640"}, "--screen 480x640 contradicts d.txt, recorded with --screen 240x320"},
      {{"--clock", "8"}, "--clock 8 contradicts d.txt, recorded with --clock 7"},
      {{"--without", "sensor-service"},
       "--without sensor-service contradicts d.txt, recorded with --without soft-key-bar"},
  };
  for (const Case& c : cases) {
    kit::HandsetOptions options = Options(c.given);
    std::string error;
    std::string warning;
    const bool taken = kit::TakeRecordedOptions(with, "d.txt", "vireta 1.0", options, error, warning);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(taken, c.error.empty());
    EXPECT_EQ(warning, "");
    if (taken) {
      EXPECT_EQ(options.screen.width, 240);
      EXPECT_EQ(options.screen.height, 320);
      EXPECT_EQ(options.clock, 7U);
      EXPECT_FALSE(options.device.softKeyBar);
    }
  }
  // A recording without pieces taken away contradicts a replay that takes one.
  kit::HandsetOptions lacking = Options({"--without", "sensor-service"});
  std::string error;
  std::string warning;
  EXPECT_FALSE(kit::TakeRecordedOptions({"vireta 1.0", {"--screen", "480x640"}, 1}, "d.txt", "vireta 1.0", lacking,
                                        error, warning));
  EXPECT_EQ(error, "--without sensor-service contradicts d.txt, recorded with the whole phone");
  // Another version still replays, and says so; a bad header is refused with its line.
  kit::HandsetOptions plain;
  error.clear();
  EXPECT_TRUE(kit::TakeRecordedOptions({"vireta 0.9", {}, 1}, "d.txt", "vireta 1.0", plain, error, warning));
  EXPECT_EQ(warning, "d.txt:1: recorded by vireta 0.9, replayed by vireta 1.0: the drive may differ");
  EXPECT_FALSE(
      kit::TakeRecordedOptions({"vireta 1.0", {"--screen", "9x9"}, 1}, "d.txt", "vireta 1.0", plain, error, warning));
  EXPECT_TRUE(error.starts_with("d.txt:1: the recording's header: ")) << error;
  EXPECT_FALSE(
      kit::TakeRecordedOptions({"vireta 1.0", {"--scale", "2"}, 1}, "d.txt", "vireta 1.0", plain, error, warning));
  EXPECT_EQ(error, "d.txt:1: the recording's header: \"--scale\" is not an option of the handset");
}

// A file-size limit fails writes as a full disk does: the recording is told at once,
// keeps every whole line before, and still parses.
TEST(Recording, AFailedWriteLeavesWholeLinesAndIsToldAtOnce) {
  const auto folder = Folder("recording-cut");
  const auto file = folder / "drive.txt";
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> told;
  {
    kit::ScriptRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.Open(file, error)) << error;
    recorder.OnFailure([&](const std::string& line) { told.push_back(line); });
    recorder.Begin(0, "# recording: test");
    ASSERT_TRUE(recorder.Start(error)) << error;
    rlimit small = before;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    for (DWORD at = 50; at < 50 * 200; at += 50) {
      recorder.Tilt(at, 44, at % 7);
    }
    EXPECT_FALSE(recorder.Close(error));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &before), 0);
    EXPECT_NE(error.find("cannot write the recording"), std::string::npos) << error;
  }
  std::signal(SIGXFSZ, previous);
  ASSERT_EQ(told.size(), 1U);
  EXPECT_NE(told[0].find("keeps what came before"), std::string::npos) << told[0];
  const std::string text = Read(file);
  EXPECT_GT(text.size(), 900U);
  EXPECT_LE(text.size(), 1000U);
  EXPECT_EQ(text.back(), '\n');
  std::string error;
  EXPECT_TRUE(kit::ParseScript(text, "drive.txt", error)) << error;
  std::filesystem::remove_all(folder);
}

}  // namespace
