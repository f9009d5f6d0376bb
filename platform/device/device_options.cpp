#include "device/device_options.h"

namespace handset {

namespace {
// Module names on the command line are plain ASCII file names.
std::optional<std::u16string> AsciiName(const std::string& text) {
  std::u16string wide;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E) {
      return std::nullopt;
    }
    wide += static_cast<char16_t>(c);
  }
  return wide;
}
}  // namespace

std::string DeviceOptionsHelp() {
  return "  --without PIECE          take a piece of the phone away: sensor-service, sensor-library,\n"
         "                           nav-library, aygshell-notify or soft-key-bar (may repeat)\n"
         "  --lacking DLL:FUNCTION   the library loads but lacks that entry point (may repeat)\n"
         "  --service-stops-early    the sensor service is gone by the time the program ends\n";
}

bool TakeDeviceOption(const std::vector<std::string>& args, std::size_t& index, DeviceOptions& options,
                      std::string& error) {
  const std::string& option = args[index];
  if (option == "--service-stops-early") {
    options.serviceStopsEarly = true;
    return true;
  }
  if (option != "--without" && option != "--lacking") {
    return false;
  }
  if (index + 1 >= args.size()) {
    error = option + " needs a value";
    return true;
  }
  const std::string& value = args[++index];
  if (option == "--without") {
    if (value == "sensor-service") {
      options.sensorService = false;
    } else if (value == "sensor-library") {
      options.sensorLibrary = false;
    } else if (value == "nav-library") {
      options.navLibrary = false;
    } else if (value == "aygshell-notify") {
      options.aygshellNotify = false;
    } else if (value == "soft-key-bar") {
      options.softKeyBar = false;
    } else {
      error = "--without takes sensor-service, sensor-library, nav-library, aygshell-notify or soft-key-bar, not \"" +
              value + "\"";
    }
    return true;
  }
  const std::size_t colon = value.find(':');
  const std::optional<std::u16string> dll =
      colon == std::string::npos ? std::nullopt : AsciiName(value.substr(0, colon));
  if (!dll || dll->empty() || colon + 1 >= value.size()) {
    error = "--lacking takes DLL:FUNCTION, such as HTCAPI.dll:HTCNavClose, not \"" + value + "\"";
    return true;
  }
  options.lacking.emplace_back(*dll, value.substr(colon + 1));
  return true;
}

}  // namespace handset
