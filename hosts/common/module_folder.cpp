// The module folder is found from the executable's own place, so a build tree and an
// installed copy both work without set-up. Only an absolute folder is ever used: a
// relative one would load whatever libraries lie under the current directory.
#include <cstdlib>
#include <system_error>

#include "handset_boot.h"

namespace kit {

std::optional<std::filesystem::path> ModuleFolder(const std::string& program, std::string& error) {
  if (const char* folder = std::getenv("VIRETA_MODULE_DIR"); folder != nullptr && *folder != '\0') {
    const std::filesystem::path given = folder;
    if (!given.is_absolute()) {
      error = "VIRETA_MODULE_DIR \"" + given.string() + "\" is not an absolute folder";
      return std::nullopt;
    }
    return given;
  }
  std::error_code failure;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure || !self.is_absolute()) {
    error = "cannot find the program's own folder through /proc/self/exe (" +
            (failure ? failure.message() : self.string()) +
            "); set VIRETA_MODULE_DIR to the absolute folder of the vendor modules";
    return std::nullopt;
  }
  const std::filesystem::path beside = self.parent_path() / "modules";
  if (std::filesystem::is_directory(beside, failure)) {
    return beside;
  }
  return self.parent_path().parent_path() / "lib" / program / "modules";
}

}  // namespace kit
