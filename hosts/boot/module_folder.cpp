// The module folder is found from the executable's own place, so a build tree and an
// installed copy both work without set-up.
#include <cstdlib>
#include <system_error>

#include "handset_boot.h"

namespace hostboot {

std::filesystem::path ModuleFolder() {
  if (const char* folder = std::getenv("VIRETA_MODULE_DIR"); folder != nullptr && *folder != '\0') {
    return folder;
  }
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    return "modules";
  }
  const std::filesystem::path beside = self.parent_path() / "modules";
  if (std::filesystem::is_directory(beside, error)) {
    return beside;
  }
  return self.parent_path().parent_path() / "lib" / "vireta" / "modules";
}

}  // namespace hostboot
