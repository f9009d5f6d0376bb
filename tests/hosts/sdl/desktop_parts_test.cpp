// The desktop host's parts that need no display: the clock's steps, the picture's fit, the
// recording, the key names, the pictures folder and the command line.
#include <gtest/gtest.h>
#include <winuser.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <tuple>

#include "clock_steps.h"
#include "desktop_options.h"
#include "key_map.h"
#include "picture_fit.h"
#include "screenshots.h"
#include "script.h"
#include "script_recorder.h"
#include "script_words.h"
#include "support/headless_runs.h"
#include "user_dirs.h"

namespace {

using kit::ClockStep;
using Kind = ClockStep::Kind;

TEST(ClockSteps, NeverPassADueTimerAndPutInputBehindIt) {
  // What happens, now, the timer's due time, the real time, the input's time; the step's
  // kind and the clock's new time, or how long to wait.
  const std::tuple<const char*, DWORD, std::optional<DWORD>, std::uint64_t, std::optional<std::uint64_t>, Kind, DWORD>
      cases[] = {
          {"a stall catches up one tick at a time", 0, 50, 175, std::nullopt, Kind::Tick, 50},
          {"caught up: wait for the next tick", 150, 200, 175, std::nullopt, Kind::Wait, 25},
          {"input between ticks goes at its own time", 100, 150, 130, 120, Kind::Input, 120},
          {"input behind a stall waits for the ticks before it", 0, 50, 300, 120, Kind::Tick, 50},
          {"input at a tick's time comes after the tick", 100, 150, 160, 150, Kind::Tick, 150},
          {"input stamped before the clock goes at the clock", 100, 150, 140, 90, Kind::Input, 100},
          {"no timer: input at its time", 40, std::nullopt, 900, 700, Kind::Input, 700},
          {"no timer: a bounded wait", 40, std::nullopt, 900, std::nullopt, Kind::Wait, 200},
          {"a timer no loop delivers is no timer", 100, 100, 120, std::nullopt, Kind::Wait, 200},
          {"a long wait is bounded too", 0, 5000, 10, std::nullopt, Kind::Wait, 200},
          {"a tick past the wrap", 0xFFFFFFF0U, 0x20U, 0x100000030ULL, std::nullopt, Kind::Tick, 0x20U},
          {"a wait across the wrap", 0xFFFFFFF0U, 0x20U, 0xFFFFFFF8ULL, std::nullopt, Kind::Wait, 40},
          {"input past the wrap, before the tick", 0xFFFFFFF0U, 0x20U, 0x100000030ULL, 0x100000010ULL, Kind::Input,
           0x10U},
      };
  for (const auto& [name, now, due, real, input, kind, to] : cases) {
    const ClockStep step = kit::NextClockStep(now, due, real, input, 200);
    EXPECT_EQ(std::pair(step.kind, step.kind == Kind::Wait ? step.waitMs : step.now), std::pair(kind, to)) << name;
  }
}

// Drawing only what changed is right only if the window pixels found for a screen span
// are exactly those that show it: one too few leaves a stale pixel, one too many a seam.
TEST(PictureFit, SpansOfChangedPixelsAreExactlyTheWindowPixelsShowingThem) {
  // The window's size, the screen's, and where the picture goes.
  const int cases[][8] = {
      {960, 1280, 480, 640, 0, 0, 960, 1280},   // twice
      {1000, 700, 480, 640, 237, 0, 525, 700},  // bars left and right
      {500, 2000, 480, 640, 0, 667, 500, 666},  // bars above and below
      {121, 161, 240, 320, 0, 0, 120, 161},     // smaller than the screen
      {1, 1, 1440, 2560, 0, 0, 0, 1},           // nothing to draw on
  };
  for (const auto& [windowWidth, windowHeight, screenWidth, screenHeight, left, top, width, height] : cases) {
    SCOPED_TRACE(std::to_string(windowWidth) + "x" + std::to_string(windowHeight));
    const desktop::PictureFit fit(windowWidth, windowHeight, screenWidth, screenHeight);
    EXPECT_EQ((std::vector{fit.Left(), fit.Top(), fit.Width(), fit.Height()}), (std::vector{left, top, width, height}));
    for (int x = -1; x <= windowWidth; ++x) {
      const bool inside = x >= fit.Left() && x < fit.Left() + fit.Width();
      const int shown = fit.ScreenX(x);
      EXPECT_EQ(inside, shown >= 0 && shown < screenWidth) << "column " << x;
    }
    // Screen spans from 1 pixel to the rest of the screen, as columns and as rows.
    for (const bool columns : {true, false}) {
      const int screen = columns ? screenWidth : screenHeight;
      for (int from = 0; from < screen; from += 37) {
        for (const int to : {from + 1, std::min(from + 5, screen), screen}) {
          const desktop::WindowSpan span = columns ? fit.Columns(from, to) : fit.Rows(from, to);
          for (int at = 0; at < (columns ? windowWidth : windowHeight); ++at) {
            const int shown = columns ? fit.ScreenX(at) : fit.ScreenY(at);
            ASSERT_EQ(shown >= from && shown < to, at >= span.first && at < span.last)
                << (columns ? "columns " : "rows ") << from << ".." << to << " at " << at;
          }
        }
      }
    }
  }
}

// Each input at its handset time, in the file as soon as the session has started (a
// killed session leaves what was said), and a script the headless host reads back.
TEST(ScriptRecorder, WritesEachInputAsSoonAsTheSessionHasStartedAndTheHostReadsIt) {
  const auto folder = std::filesystem::temp_directory_path() / ("desktop-record-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto file = folder / "drive.txt";
  std::ofstream(file) << "last session\n";
  std::ofstream(folder / "drive.txt.part") << "someone's\n";
  std::string error;
  {
    kit::ScriptRecorder recorder;
    ASSERT_TRUE(recorder.Open(file, error)) << error;
    recorder.Tilt(0, 44, 0);
    EXPECT_EQ(testsupport::Read(file), "last session\n");  // a session that never starts replaces nothing
    ASSERT_TRUE(recorder.Start(error)) << error;
    recorder.Tilt(50, 44, 7);
    recorder.Key(50, "ctrl+a");  // the same time: no wait between
    EXPECT_EQ(testsupport::Read(file), "tilt 44 0\nwait 50\ntilt 44 7\nkey ctrl+a\n");
    recorder.Tap(1234, 440, 20);
    recorder.Ok(1300);
    recorder.End(1310, 26);
    ASSERT_TRUE(recorder.Close(error)) << error;
  }
  const std::string script = testsupport::Read(file);
  EXPECT_EQ(script,
            "tilt 44 0\nwait 50\ntilt 44 7\nkey ctrl+a\nwait 1184\ntap 440 20\nwait 66\nok\nwait 10\n"
            "# session ended at 1310 ms after 26 ticks\n");
  EXPECT_EQ(kit::ParseScript(script, "recorded", error).value_or(kit::Script{}).commands.size(), 9U) << error;
  EXPECT_TRUE(kit::ScriptRecorder().Open(folder / "unused.txt", error)) << error;  // and never started
  kit::ScriptRecorder off;  // a session that records nothing keeps nothing
  off.Tilt(50, 44, 7);
  EXPECT_EQ(off.Text(), "");
  EXPECT_EQ(testsupport::Read(folder / "drive.txt.part"), "someone's\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 2);
  std::filesystem::remove_all(folder);
}

TEST(KeyMap, EveryKeyIsNamedAsScriptsNameIt) {
  const std::pair<SDL_Keycode, bool> keys[] = {
      {SDLK_F1, false}, {SDLK_F2, false},   {SDLK_RETURN, false}, {SDLK_KP_ENTER, false}, {SDLK_ESCAPE, false},
      {SDLK_UP, false}, {SDLK_DOWN, false}, {SDLK_LEFT, false},   {SDLK_RIGHT, false},    {SDLK_a, false},
      {SDLK_z, false},  {SDLK_a, true},     {SDLK_q, true},       {SDLK_F1, true},
  };
  for (const auto& [code, control] : keys) {
    const auto name = desktop::KeyNameOf(code, control);
    ASSERT_TRUE(name) << code;
    EXPECT_TRUE(kit::KeyNamed(*name)) << *name;
  }
  EXPECT_EQ(kit::KeyNamed(desktop::KeyNameOf(SDLK_a, true).value_or("")), std::pair(UINT{'A'}, true));
  EXPECT_EQ(desktop::KeyNameOf(SDLK_F1, true), "softkey1");  // Ctrl does not reach the soft keys
  EXPECT_FALSE(desktop::KeyNameOf(SDLK_F5, false));
  EXPECT_FALSE(desktop::KeyNameOf(SDLK_1, false));
}

TEST(DesktopOptions, TakesItsOwnAndTheHandsetsAndRefusesTheRest) {
  std::string error;
  const auto options = desktop::ParseDesktopOptions(
      {"--scale", "2", "--fullscreen", "--tilt", "mouse", "--record", "r.txt", "--screen", "240x320", "--session", "s"},
      error);
  ASSERT_TRUE(options) << error;
  EXPECT_TRUE(options->scale == 2 && options->fullscreen && options->tilt == desktop::TiltKind::Mouse &&
              options->record == "r.txt" && options->handset.screen.width == 240 && options->handset.session == "s");
  EXPECT_FALSE(desktop::ParseDesktopOptions({}, error)->tilt);

  const std::pair<std::vector<std::string>, const char*> bad[] = {
      {{"--scale", "0"}, "--scale needs"},
      {{"--scale", "9"}, "--scale needs"},
      {{"--scale", "2x"}, "--scale needs"},
      {{"--tilt", "wheel"}, "--tilt needs"},
      {{"--record"}, "--record needs a value"},
      {{"--shots", ""}, "--shots needs a value"},
      {{"--fullscreen", "--fullscreen"}, "given twice"},
      {{"--script", "s.txt"}, "unknown option \"--script\""},
      {{"--screen", "10x10"}, "240"},
  };
  for (const auto& [args, message] : bad) {
    error.clear();
    EXPECT_FALSE(desktop::ParseDesktopOptions(args, error)) << args[0];
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

// The game with no display, its stdout and stderr in files of the test's own folder.
class CommandLine : public testsupport::HeadlessRuns {
 protected:
  int Vireta(const std::string& args) {
    return Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 " + std::string(VIRETA) + " " + args +
                     " >" + (dir_ / "out").string(),
                 "out");
  }
  std::string Err() const { return testsupport::Read(dir_ / "out.err"); }
};

// user-dirs.dirs as xdg-user-dir reads it: the shell's meaning of each line, or none.
TEST(UserDirs, TheLastLineTheShellWouldReadTheSameWins) {
  const std::filesystem::path home = "/home/ana";
  // What the file holds; the folder it names for PICTURES.
  const std::pair<std::string, std::optional<std::filesystem::path>> cases[] = {
      {"XDG_PICTURES_DIR=\"$HOME/Im\xc3\xa1genes\"\n", home / "Im\xc3\xa1genes"},
      {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n"
       "  XDG_PICTURES_DIR=\"/srv/fotos\"  # shared\nXDG_MUSIC_DIR=\"$HOME/M\"",
       "/srv/fotos"},
      {"XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", home / "b"},
      {"XDG_PICTURES_DIR=\"$HOME\"\n", home},  // turned off: the home itself
      {"XDG_PICTURES_DIR=\"$HOME/with \\\"quote\\\" and \\$dollar\"\n", home / "with \"quote\" and $dollar"},
      // Lines the shell reads otherwise, or that are no assignment: passed over.
      {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR=\"Pictures\"\n", home / "good"},
      {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR = \"/spaced\"\n", home / "good"},
      {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR=\"$HOME/$USER\"\n", home / "good"},
      {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR=\"/x\"y\n", home / "good"},
      {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR=\"/unclosed\n", home / "good"},
      {"XDG_PICTURES_DIR=\"$HOMEWARD/x\"\n", std::nullopt},
      {"XDG_PICTURES_DIR=/unquoted\n", std::nullopt},
      {"XDG_PICTURES_DIR=\"`id`\"\n", std::nullopt},
      {"XDG_PICTURES_DIRS=\"/x\"\n#XDG_PICTURES_DIR=\"/y\"\nXDG_PICTURES_DIR=\"$HOME", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, folder] : cases) {
    EXPECT_EQ(desktop::UserDirIn(text, "PICTURES", home), folder) << text;
  }
  EXPECT_EQ(desktop::UserDirIn("XDG_PICTURES_DIR=\"$HOME/x\"\n", "PICTURES", std::nullopt), std::nullopt);
}

// Screenshots go to the user's pictures, in a folder of their own that is never a link.
TEST(PicturesFolder, IsTheOneXdgUserDirNamesTheUsersAndMadeWhenMissing) {
  const auto root = std::filesystem::temp_directory_path() / ("desktop-pictures-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "config");
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/";
  setenv("HOME", root.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  std::string error;
  // The file's line outdoes the environment, as it does for xdg-user-dir.
  setenv("XDG_PICTURES_DIR", (root / "Bilder").c_str(), 1);
  std::ofstream(root / "config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Im\xc3\xa1genes\"\n";
  EXPECT_EQ(desktop::PicturesFolder("Game", error), root / "Im\xc3\xa1genes" / "Game") << error;
  EXPECT_TRUE(std::filesystem::is_directory(root / "Im\xc3\xa1genes" / "Game"));
  // Without the file's line, the environment's when absolute, else ~/Pictures.
  std::ofstream(root / "config" / "user-dirs.dirs") << "XDG_MUSIC_DIR=\"$HOME/M\xc3\xbasica\"\n";
  EXPECT_EQ(desktop::PicturesFolder("Game", error), root / "Bilder" / "Game") << error;
  std::filesystem::remove(root / "config" / "user-dirs.dirs");
  // A FIFO in its place is not waited on.
  ASSERT_EQ(mkfifo((root / "config" / "user-dirs.dirs").c_str(), 0600), 0);
  setenv("XDG_PICTURES_DIR", "relative", 1);
  std::filesystem::create_directories(root / "Pictures");
  std::filesystem::create_directory_symlink(root / "Bilder", root / "Pictures" / "Game");
  EXPECT_FALSE(desktop::PicturesFolder("Game", error));
  EXPECT_EQ(error, (root / "Pictures" / "Game").string() + " is not a folder of this user");
  // Without XDG_CONFIG_HOME, ~/.config.
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::create_directories(root / ".config");
  std::ofstream(root / ".config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n";
  EXPECT_EQ(desktop::PicturesFolder("Game", error), root / "Fotos" / "Game") << error;
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_PICTURES_DIR");
  std::filesystem::remove_all(root);
}

TEST_F(CommandLine, NoDisplayHelpAndRefusals) {
  EXPECT_EQ(Vireta(""), 1);
  EXPECT_TRUE(std::regex_match(
      Err(), std::regex("vireta: no display \\([^\n]*\\); use --headless --script FILE to run without one\n")))
      << Err();
  EXPECT_EQ(Vireta("--help"), 0);
  EXPECT_NE(testsupport::Read(dir_ / "out").find("  --headless "), std::string::npos);
  EXPECT_EQ(Vireta("--version --bogus"), 0);
  EXPECT_EQ(testsupport::Read(dir_ / "out"), "vireta 1.1\n");
  EXPECT_EQ(Vireta("--scale 2 --frobnicate"), 2);
  EXPECT_EQ(Err(), "vireta: unknown option \"--frobnicate\" (--help lists the options)\n");
  // A recording that could not be written is refused before any window, saying why.
  for (const auto& [file, reason] :
       {std::pair<std::string, std::string>{"/nonexistent-folder/drive.txt", "No such file or directory"},
        {dir_.string(), "Is a directory"}}) {
    EXPECT_EQ(Vireta("--record " + file), 2);
    EXPECT_EQ(Err(), "vireta: " + file + ": cannot write the recording: " + reason + "\n");
  }
  // A session that never starts leaves the last recording as it was.
  std::ofstream(dir_ / "last.txt") << "wait 1\n";
  EXPECT_EQ(Vireta("--record " + (dir_ / "last.txt").string()), 1);
  EXPECT_EQ(testsupport::Read(dir_ / "last.txt"), "wait 1\n");
}

// Another local user made the session's shared folder first: the game starts all the
// same, in a session folder of the user's own, and says so in one line.
TEST_F(CommandLine, ASquattedSessionFolderDoesNotStopTheStart) {
  const auto tmp = dir_ / "tmp";
  std::filesystem::create_directories(tmp);
  const auto shared = tmp / ("vireta-" + std::to_string(getuid()));
  std::string why;
  if (geteuid() == 0) {
    ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(chown(shared.c_str(), 4242, 4242), 0);
    why = "it belongs to uid 4242, not 0";
  } else {  // without root, a link stands for the other user's folder
    std::filesystem::create_directory_symlink(dir_, shared);
    why = "it is a symbolic link";
  }
  std::ofstream(dir_ / "drive.txt") << "wait 500\n";
  const int code =
      Shell("env -u XDG_RUNTIME_DIR TMPDIR=" + tmp.string() + " XDG_CACHE_HOME=" + (dir_ / "cache").string() +
                " timeout 20 " + VIRETA + " --headless --script " + (dir_ / "drive.txt").string() + " --session s",
            "squat");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(testsupport::Read(dir_ / "squat.err"),
            "vireta: cannot use the session folder " + shared.string() + ": " + why + "; using " +
                (dir_ / "cache" / "vireta-sessions" / "s").string() + " instead\n");
}

}  // namespace
