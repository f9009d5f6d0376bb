// Booting the handset as every host does it.
#include "handset_boot.h"

#include <algorithm>
#include <iostream>

#include "platform/host/text.h"

namespace kit {

std::string HostProgram::Name() const { return handset::host::Utf8FromWide(name).value_or("program"); }

bool AnswerVersionOrHelp(const std::vector<std::string>& args, const HostProgram& program, const char* argv0,
                         std::string_view usage, const std::string& help) {
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    std::cout << program.NameAndVersion() << '\n';
    return true;
  }
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::cout << "usage: " << (argv0 != nullptr ? argv0 : program.Name().c_str()) << ' ' << usage << '\n'
              << help << kVersionHelp;
    return true;
  }
  return false;
}

HINSTANCE BootHandset(const HandsetOptions& options, const handset::host::ProgramSettings& program,
                      std::string& error) {
  const std::optional<std::filesystem::path> modules =
      program.libraries.empty() ? ModuleFolder(handset::host::Utf8FromWide(program.name).value_or("program"), error)
                                : std::filesystem::path();
  if (!modules) {
    return nullptr;
  }
  const auto tell = [&program](const std::string& line) {
    std::cerr << handset::host::Utf8FromWide(program.name).value_or("program") << ": " << line << '\n';
  };
  return handset::host::Boot({options, program, *modules, tell}, error);
}

}  // namespace kit
