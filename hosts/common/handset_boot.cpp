// Booting the handset as every host does it.
#include "handset_boot.h"

#include "platform/host/text.h"

namespace kit {

std::string HostProgram::Name() const { return handset::host::Utf8FromWide(name).value_or("program"); }

HINSTANCE BootHandset(const HandsetOptions& options, const handset::host::ProgramSettings& program,
                      std::string& error) {
  const std::optional<std::filesystem::path> modules =
      program.libraries.empty() ? ModuleFolder(handset::host::Utf8FromWide(program.name).value_or("program"), error)
                                : std::filesystem::path();
  if (!modules) {
    return nullptr;
  }
  return handset::host::Boot({options, program, *modules}, error);
}

}  // namespace kit
