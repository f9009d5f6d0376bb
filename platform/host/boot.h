// Starting a handset: the screens it takes, the pieces of the phone a run may take away,
// and the boot that registers the program's module.
#pragma once

#include <windef.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/device/device_options.h"
#include "platform/window/screen.h"

namespace handset::host {

using handset::DeviceOptions;
using handset::DeviceOptionsHelp;
using handset::LargestScreen;
using handset::ParseScreen;
using handset::ScreenOf;
using handset::ScreenSize;
using handset::SmallestScreen;
using handset::TakeDeviceOption;

// A library the host builds into the handset instead of a file in the module folder
// (where there is no dynamic loader): its Windows name and its entry points.
struct BuiltinLibrary {
  std::u16string name;
  std::vector<std::pair<std::string, FARPROC>> entries;
};

// The handset a host offers: its screen, the pieces of the phone it has, the session it
// shares with other processes, and its clock at boot.
struct HandsetSettings {
  ScreenSize screen;
  DeviceOptions device;
  std::optional<std::string> session;  // none: the handset sees no other process
  DWORD clock = 0;                     // GetTickCount at boot
};

// The program: its name (for its module and its session's folder), its compiled
// resources, the pixels its window needs between the taskbar and the soft-key bar, and
// the libraries built into the handset for it (where there is no dynamic loader).
struct ProgramSettings {
  std::u16string name;
  std::span<const std::byte> resources;
  int smallestBand = 0;
  std::vector<BuiltinLibrary> libraries;  // found before any file of the module folder
};

struct BootSettings {
  HandsetSettings handset;
  ProgramSettings program;
  std::filesystem::path modules;  // where the vendor libraries are
  // A line for the user when the handset goes on with less than it was given (a session
  // folder of its own, or no session); stderr when none.
  std::function<void(const std::string& line)> tell;
};

// Boots a fresh handset, joins the session if any and registers the program's module;
// null with `error` set when the screen is too small for the program or a built-in
// library's name is not a module's. A session whose folder cannot be used is joined
// elsewhere, or left out, and `tell` says so.
HINSTANCE Boot(const BootSettings& settings, std::string& error);

}  // namespace handset::host
