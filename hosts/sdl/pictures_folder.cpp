#include "pictures_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace desktop {

std::optional<std::filesystem::path> PicturesFolder(const std::string& title, std::string& error) {
  std::filesystem::path pictures;
  if (const char* chosen = std::getenv("XDG_PICTURES_DIR"); chosen != nullptr && chosen[0] == '/') {
    pictures = chosen;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    pictures = std::filesystem::path(home) / "Pictures";
  } else {
    error = "no pictures folder: neither XDG_PICTURES_DIR nor HOME is an absolute path";
    return std::nullopt;
  }
  const std::filesystem::path folder = pictures / title;
  std::error_code ignored;
  std::filesystem::create_directories(pictures, ignored);
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
    error = "cannot make " + folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
    error = folder.string() + " is not a folder of this user";
    return std::nullopt;
  }
  return folder;
}

}  // namespace desktop
