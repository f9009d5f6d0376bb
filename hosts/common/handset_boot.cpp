// Booting the handset as every host does it.
#include "handset_boot.h"

#include "platform/host/text.h"

namespace kit {

std::string HostProgram::Name() const { return handset::host::Utf8FromWide(name).value_or("program"); }

HINSTANCE BootHandset(const HandsetOptions& options, const std::u16string& programName,
                      std::span<const std::byte> resources, std::string& error, int smallestBand,
                      const std::vector<handset::host::BuiltinLibrary>& libraries) {
  const std::optional<std::string> program = handset::host::Utf8FromWide(programName);
  const std::optional<std::filesystem::path> modules =
      libraries.empty() ? ModuleFolder(program.value_or("program"), error) : std::filesystem::path();
  if (!modules) {
    return nullptr;
  }
  handset::host::BootSettings settings;
  settings.screen = options.screen;
  settings.device = options.device;
  settings.session = options.session;
  settings.clock = options.clock;
  settings.modules = *modules;
  settings.libraries = libraries;
  settings.program = programName;
  settings.resources = resources;
  settings.smallestBand = smallestBand;
  return handset::host::Boot(settings, error);
}

HINSTANCE BootHandset(const HandsetOptions& options, const HostProgram& program, std::string& error) {
  return BootHandset(options, program.name, program.resources, error, program.smallestBand, program.libraries);
}

}  // namespace kit
