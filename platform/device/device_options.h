// Options of the handset that take a piece of the phone away, so the program's failure
// paths can be seen: `--without sensor-service|sensor-library|nav-library|aygshell-notify|
// soft-key-bar`,
// `--lacking DLL:FUNCTION` (may repeat, a vendor library's export), `--service-stops-early`.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace handset {

// The vendor libraries the handset loads from its module folder, and their exports.
struct VendorLibrary {
  std::string_view dll;
  std::array<std::string_view, 3> functions;
};
inline constexpr std::array<VendorLibrary, 2> kVendorLibraries = {{
    {"HTCSensorSDK.dll", {"HTCSensorOpen", "HTCSensorGetDataOutput", "HTCSensorClose"}},
    {"HTCAPI.dll", {"HTCNavOpen", "HTCNavSetMode", "HTCNavClose"}},
}};

struct DeviceOptions {
  bool sensorService = true;
  bool sensorLibrary = true;
  bool navLibrary = true;
  bool aygshellNotify = true;
  bool softKeyBar = true;
  bool serviceStopsEarly = false;
  std::vector<std::pair<std::u16string, std::string>> lacking;  // module, entry point
};

// What one line of --help says for these options.
std::string DeviceOptionsHelp();

// If `args[index]` is one of these options, takes it (and its value, advancing `index`)
// into `options` and returns true; a bad value sets `error`. False for other options.
bool TakeDeviceOption(const std::vector<std::string>& args, std::size_t& index, DeviceOptions& options,
                      std::string& error);

// Sets the phone up as the options say: the module folder holding the vendor libraries,
// the pieces taken away, and the device's sensor service running.
void BootDevice(const DeviceOptions& options, const std::filesystem::path& moduleFolder);

}  // namespace handset
