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

#include "platform/host/boot.h"

namespace kit {

// What a host runs: the program's name (for messages, files and its session), what its
// window is titled, its version (for --version), its compiled resources, its WinMain,
// and the pixels its window needs between the taskbar and the soft-key bar.
struct HostProgram {
  std::u16string name;
  std::string title;
  std::string version;
  std::span<const std::byte> resources;
  int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int) = nullptr;
  int smallestBand = 0;
  // Libraries built into the handset where there is no dynamic loader; with any, the
  // module folder is not looked for.
  std::vector<handset::host::BuiltinLibrary> libraries;
  // The --help lines of the other hosts the same executable offers, ending with the
  // handset's; none: the host's own lines are followed by the handset's.
  std::string otherHostsHelp;

  // The name in UTF-8, as messages start with it.
  std::string Name() const;
  // "NAME VERSION", as --version prints it.
  std::string NameAndVersion() const {
    return Name() + " " + (version.empty() ? std::string("(no version)") : version);
  }
};

// The --version line's help.
inline constexpr const char* kVersionHelp = "  --version                print the program's name and version\n";

struct HandsetOptions {
  handset::host::ScreenSize screen;
  handset::host::DeviceOptions device;
  std::optional<std::string> session;  // none: the handset sees no other process
  DWORD clock = 0;                     // GetTickCount at boot
  bool screenGiven = false;
  bool sessionGiven = false;
  bool clockGiven = false;
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

// Boots a fresh handset as `options` say, joins their session if any and registers the
// program's module; null with `error` set when the module folder is not known, the
// screen leaves fewer than `smallestBand` pixels for the program's window, or the
// session cannot be joined.
HINSTANCE BootHandset(const HandsetOptions& options, const std::u16string& programName,
                      std::span<const std::byte> resources, std::string& error, int smallestBand = 0,
                      const std::vector<handset::host::BuiltinLibrary>& libraries = {});
HINSTANCE BootHandset(const HandsetOptions& options, const HostProgram& program, std::string& error);

}  // namespace kit
