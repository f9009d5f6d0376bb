// Parsing the device options; a piece named wrong is refused with what there is.
#include "platform/device/device_options.h"

#include <algorithm>

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

bool SameAsciiName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Whether the handset has that library with that export; a lacking entry point the
// program never asks for would silently take nothing away.
bool KnownExport(std::string_view dll, std::string_view function) {
  return std::any_of(kVendorLibraries.begin(), kVendorLibraries.end(), [&](const VendorLibrary& library) {
    return SameAsciiName(library.dll, dll) &&
           std::find(library.functions.begin(), library.functions.end(), function) != library.functions.end();
  });
}

std::string KnownExports() {
  std::string text;
  for (const VendorLibrary& library : kVendorLibraries) {
    text += text.empty() ? "" : "; ";
    text += std::string(library.dll) + ":";
    for (const std::string_view function : library.functions) {
      text += (text.back() == ':' ? "" : ",") + std::string(function);
    }
  }
  return text;
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
  if (!KnownExport(value.substr(0, colon), value.substr(colon + 1))) {
    error = "--lacking \"" + value + "\" is no library and function of the handset: " + KnownExports();
    return true;
  }
  options.lacking.emplace_back(*dll, value.substr(colon + 1));
  return true;
}

}  // namespace handset
