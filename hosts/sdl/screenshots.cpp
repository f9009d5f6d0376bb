#include "screenshots.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/host/host.h"
#include "user_dirs.h"

namespace desktop {

namespace {

std::string ShotName(const std::string& program) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[64];
  (void)std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d-%03d.png", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
  return program + stamp;
}

}  // namespace

std::optional<std::filesystem::path> PicturesFolder(const std::string& title, std::string& error) {
  std::optional<std::filesystem::path> home;
  if (const char* named = std::getenv("HOME"); named != nullptr && named[0] == '/') {
    home = named;
  }
  // The order xdg-user-dir gives: it sources user-dirs.dirs, whose line outdoes the
  // environment's XDG_PICTURES_DIR. Its last resort, the home itself, is ~/Pictures here.
  std::optional<std::filesystem::path> pictures = UserDir("PICTURES", home);
  if (const char* chosen = std::getenv("XDG_PICTURES_DIR"); !pictures && chosen != nullptr && chosen[0] == '/') {
    pictures = chosen;
  }
  if (!pictures && home) {
    pictures = *home / "Pictures";
  }
  if (!pictures) {
    error = "no pictures folder: user-dirs.dirs names none, and neither XDG_PICTURES_DIR nor HOME is an absolute path";
    return std::nullopt;
  }
  const std::filesystem::path folder = *pictures / title;
  std::error_code ignored;
  std::filesystem::create_directories(*pictures, ignored);
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

std::optional<std::filesystem::path> SaveScreenshot(const std::optional<std::filesystem::path>& folder,
                                                    const std::string& program, const std::string& title,
                                                    std::string& error) {
  const std::optional<std::filesystem::path> into = folder ? folder : PicturesFolder(title, error);
  if (!into) {
    return std::nullopt;
  }
  std::filesystem::path file = *into / ShotName(program);
  if (!handset::host::WriteScreenPng(file, error)) {
    return std::nullopt;
  }
  return file;
}

}  // namespace desktop
