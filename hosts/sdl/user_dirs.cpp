// A user-dirs.dirs is a shell file xdg-user-dir sources: read here only in the one form
// xdg-user-dirs-update writes, so no line means something other than the shell makes of it.
#include "user_dirs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace desktop {

namespace {

// Far more than a list of a dozen folders; anything bigger is not that file.
constexpr std::size_t kLimit = std::size_t{64} * 1024;

// Opened without waiting: a FIFO in its place would hold the host until someone wrote.
class SettingsFile {
 public:
  explicit SettingsFile(const std::filesystem::path& file)
      : fd_(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;
  ~SettingsFile() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool Blank(char c) { return c == ' ' || c == '\t'; }

// What follows the opening quote, unquoted: backslash keeps the next of " \ $ ` literal,
// as between double quotes in the shell. None when the shell would expand something or
// the line holds more than the value and a comment.
std::optional<std::string> Quoted(std::string_view rest) {
  std::string value;
  std::size_t i = 0;
  for (; i < rest.size() && rest[i] != '"'; ++i) {
    const char c = rest[i];
    if (c == '\\' && i + 1 < rest.size() && std::string_view("\"\\$`").find(rest[i + 1]) != std::string_view::npos) {
      value += rest[++i];
    } else if (c == '$' || c == '`') {
      return std::nullopt;
    } else {
      value += c;
    }
  }
  if (i == rest.size()) {
    return std::nullopt;  // the quote goes on past the line
  }
  for (++i; i < rest.size() && Blank(rest[i]); ++i) {
  }
  if (i < rest.size() && (rest[i] != '#' || !Blank(rest[i - 1]))) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::filesystem::path> LineValue(std::string_view line, std::string_view name,
                                               const std::optional<std::filesystem::path>& home) {
  while (!line.empty() && Blank(line.front())) {
    line.remove_prefix(1);
  }
  if (!line.starts_with(name) || !line.substr(name.size()).starts_with("=\"")) {
    return std::nullopt;
  }
  line.remove_prefix(name.size() + 2);
  constexpr std::string_view kHome = "$HOME";
  if (line.starts_with(kHome) && line.size() > kHome.size() &&
      (line[kHome.size()] == '/' || line[kHome.size()] == '"')) {
    const std::optional<std::string> rest = Quoted(line.substr(kHome.size()));
    if (!home || !rest) {
      return std::nullopt;
    }
    const std::filesystem::path below = std::filesystem::path(*rest).relative_path();
    return below.empty() ? *home : *home / below;
  }
  const std::optional<std::string> value = Quoted(line);
  if (!value || !value->starts_with('/')) {
    return std::nullopt;
  }
  return std::filesystem::path(*value);
}

}  // namespace

std::optional<std::filesystem::path> UserDirIn(std::string_view text, std::string_view key,
                                               const std::optional<std::filesystem::path>& home) {
  const std::string name = "XDG_" + std::string(key) + "_DIR";
  std::optional<std::filesystem::path> found;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (auto value = LineValue(text.substr(0, end), name, home)) {
      found = std::move(value);  // a later assignment wins, as in the shell
    }
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return found;
}

std::optional<std::filesystem::path> UserDir(std::string_view key, const std::optional<std::filesystem::path>& home) {
  std::filesystem::path config;
  if (const char* chosen = std::getenv("XDG_CONFIG_HOME"); chosen != nullptr && chosen[0] == '/') {
    config = chosen;
  } else if (home) {
    config = *home / ".config";
  } else {
    return std::nullopt;
  }
  // The user's own settings, often a link into a folder of dotfiles: followed, as
  // xdg-user-dir does. The folder it names is checked before anything goes there.
  const std::filesystem::path file = config / "user-dirs.dirs";
  const SettingsFile fd(file);
  std::string text;
  struct stat info {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uintmax_t>(info.st_size) > kLimit) {
    return std::nullopt;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return std::nullopt;
    }
    if (got == 0) {
      return UserDirIn(text, key, home);
    }
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > kLimit) {
      return std::nullopt;  // grew since it was looked at
    }
  }
}

}  // namespace desktop
