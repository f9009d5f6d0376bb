// The handset as every host boots it: a screen, the phone's pieces (device options), the
// built-in shell, a session shared with other processes, and the program's module.
#pragma once

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/device_options.h"
#include "window/screen.h"

namespace hostboot {

// What a host runs: the program's name, its compiled resources and its WinMain.
struct HostProgram {
  std::u16string name;
  std::span<const std::byte> resources;
  int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int) = nullptr;
};

struct HandsetOptions {
  handset::ScreenSize screen;
  handset::DeviceOptions device;
  std::optional<std::string> session;  // none: the handset sees no other process
  DWORD clock = 0;                     // GetTickCount at boot
  bool screenGiven = false;
  bool sessionGiven = false;
  bool clockGiven = false;
};

// If `args[index]` is an option of the handset (--screen WxH, --session NAME, --clock MS and the
// device options), takes it and its value into `options` and returns true; a bad value
// sets `error`. False for other options.
bool TakeHandsetOption(const std::vector<std::string>& args, std::size_t& index, HandsetOptions& options,
                       std::string& error);
// The --help lines for those options.
std::string HandsetOptionsHelp();

// Where the vendor libraries are: $VIRETA_MODULE_DIR, which must be absolute, else
// `modules` beside the executable, else the installed `../lib/vireta/modules`; none
// with `error` set when the variable is relative or the executable cannot be found.
std::optional<std::filesystem::path> ModuleFolder(std::string& error);

// Whether `window` can be the program's main window: a top-level window of its own,
// neither a box nor a child. The first such window to hear anything is the one
// CreateWindowExW made first, since it sends WM_CREATE and its kin.
bool IsMainWindowCandidate(HWND window);

// Boots a fresh handset as `options` say, joins their session if any and registers the
// program's module; null with `error` set when the module folder is not known or the
// session cannot be joined.
HINSTANCE BootHandset(const HandsetOptions& options, const std::u16string& programName,
                      std::span<const std::byte> resources, std::string& error);

}  // namespace hostboot
