// The handset as every host boots it: the program's description, the handset's options
// on the command line, the vendor libraries' folder, and the boot.
#pragma once

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lap_book.h"
#include "platform/host/boot.h"

namespace kit {

// What a host runs: the handset's view of the program (its name for messages, files
// and its session, its resources, the room its window needs, built-in libraries), and
// what only hosts need: the window's title, the version (for --version), its WinMain,
// and the pitch of a phone it takes as held level.
struct HostProgram : handset::host::ProgramSettings {
  std::string title;
  std::string version;
  int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int) = nullptr;
  // The live hosts' gestures tip the phone from this pitch, in degrees.
  double levelPitch = 45.0;
  // The --help lines of the other hosts the same executable offers, ending with the
  // handset's; none: the host's own lines are followed by the handset's.
  std::string otherHostsHelp;
  // Tells the laps the program closes; none for a program without laps.
  LapWatch lapWatch;

  // The name in UTF-8, as messages start with it.
  std::string Name() const;
  // "NAME VERSION", as --version prints it.
  std::string NameAndVersion() const {
    return Name() + " " + (version.empty() ? std::string("(no version)") : version);
  }
};

// The --version line's help.
inline constexpr const char* kVersionHelp = "  --version                print the program's name and version\n";

// When `args` (without the program's name) asks for --version or --help, prints the
// answer (usage: ARGV0 USAGE, then `help` and the --version line) and returns true.
bool AnswerVersionOrHelp(const std::vector<std::string>& args, const HostProgram& program, const char* argv0,
                         std::string_view usage, const std::string& help);

// The handset as a host's command line describes it, and what the user gave of it.
struct HandsetOptions : handset::host::HandsetSettings {
  bool screenGiven = false;
  bool sessionGiven = false;
  bool clockGiven = false;
  // Each option given with its value, as the user wrote it: "--screen 240x320".
  std::vector<std::string> given;
};

// If `args[index]` is an option of the handset (--screen WxH, --session NAME, --clock MS and the
// device options), takes it and its value into `options` and returns true; a bad value
// sets `error`. False for other options. Whether the screen suits the program is known
// only at boot.
bool TakeHandsetOption(const std::vector<std::string>& args, std::size_t& index, HandsetOptions& options,
                       std::string& error);
// One option of a host's own: its name, whether a value follows it, and whether it may
// come more than once.
struct HostOption {
  const char* name;
  bool valued = false;
  bool repeats = false;
};

// Walks a host's command line: the handset's options go into `handset`, each of `own` is
// handed to `take` with its value ("" for one without), and anything else is an unknown
// option (its message ends with `hint`). False with `error` set at the first fault,
// `take`'s own included.
bool WalkOptions(const std::vector<std::string>& args, std::span<const HostOption> own, HandsetOptions& handset,
                 const std::function<bool(const std::string& name, const std::string& value, std::string& error)>& take,
                 std::string& error, std::string_view hint = " (--help lists the options)");

// The --help lines for those options, with the smallest screen a program of
// `smallestBand` takes.
std::string HandsetOptionsHelp(int smallestBand);

// Where the vendor libraries are: $VIRETA_MODULE_DIR, which must be absolute, else
// `modules` beside the executable, else the installed `../lib/PROGRAM/modules`; none
// with `error` set when the variable is relative or the executable cannot be found.
std::optional<std::filesystem::path> ModuleFolder(const std::string& program, std::string& error);

// Boots a fresh handset as `options` say for `program`, with the vendor libraries of the
// module folder (not looked for when the program brings its libraries); null with
// `error` set when that folder is not known, or the screen leaves fewer than the
// program's band of pixels for its window. A session joined elsewhere than asked, or not
// at all, is told on stderr as "PROGRAM: ...".
HINSTANCE BootHandset(const HandsetOptions& options, const handset::host::ProgramSettings& program, std::string& error);

}  // namespace kit
