// Module names to files in the module folder.
#include "platform/kernel/module_name.h"

#include <system_error>

#include "platform/kernel/wide_text.h"

namespace handset {

std::optional<std::string> ModuleFileName(std::u16string_view name) {
  std::optional<std::string> file = Utf8FromWide(name);
  if (!file || file->empty() || file->find_first_of("/\\:") != std::string::npos ||
      file->find("..") != std::string::npos) {
    return std::nullopt;
  }
  for (const char c : *file) {
    if (static_cast<unsigned char>(c) < 0x20) {
      return std::nullopt;
    }
  }
  if (file->find('.') == std::string::npos) {
    *file += ".dll";
  }
  return file;
}

std::optional<std::filesystem::path> FindModuleFile(const std::filesystem::path& folder, const std::string& fileName) {
  if (folder.empty()) {
    return std::nullopt;
  }
  const std::string wanted = FoldCase(fileName);
  std::optional<std::filesystem::path> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    std::error_code statError;
    if (FoldCase(candidate) != wanted || !it->is_regular_file(statError)) {
      continue;
    }
    // Linux may hold both "a.dll" and "A.DLL"; the exact spelling wins, then the first
    // in name order, so the choice does not depend on directory order.
    if (candidate == fileName) {
      found = it->path();
      break;
    }
    if (!found || candidate < found->filename().string()) {
      found = it->path();
    }
  }
  if (!found) {
    return std::nullopt;
  }
  std::filesystem::path absolute = std::filesystem::canonical(*found, error);
  if (error) {
    return std::nullopt;
  }
  return absolute;
}

}  // namespace handset
