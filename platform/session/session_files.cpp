#include "session/session_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "kernel/wide_text.h"

namespace handset {

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) {
      return std::nullopt;
    }
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::filesystem::path FileOf(const std::filesystem::path& folder, pid_t pid, const char* suffix) {
  return folder / (std::to_string(pid) + suffix);
}

}  // namespace

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

std::filesystem::path LockFile(const std::filesystem::path& folder, pid_t pid) { return FileOf(folder, pid, ".lock"); }
std::filesystem::path WindowsFile(const std::filesystem::path& folder, pid_t pid) {
  return FileOf(folder, pid, ".windows");
}
std::filesystem::path RequestsFile(const std::filesystem::path& folder, pid_t pid) {
  return FileOf(folder, pid, ".requests");
}

FileLock TakeLock(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    return {};
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return {};
  }
  return FileLock(fd);
}

bool LockHeld(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
  close(fd);
  return held;
}

std::string EncodeWindows(const std::vector<PublishedWindow>& windows) {
  std::string out;
  for (const PublishedWindow& window : windows) {
    const auto className = Utf8FromWide(window.className);
    const auto title = Utf8FromWide(window.title);
    if (!className || !title) {
      continue;  // a name no other process could match exactly
    }
    char handle[32];
    std::snprintf(handle, sizeof handle, "%jx", static_cast<std::uintmax_t>(window.handle));
    out += std::string(handle) + "\t" + Escaped(*className) + "\t" + Escaped(*title) + "\n";
  }
  return out;
}

std::vector<PublishedWindow> DecodeWindows(const std::string& text) {
  std::vector<PublishedWindow> windows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos || line.find('\t', second + 1) != std::string::npos) {
      continue;
    }
    char* end = nullptr;
    const std::string handleText = line.substr(0, first);
    const unsigned long long handle = std::strtoull(handleText.c_str(), &end, 16);
    const auto className = Unescaped(line.substr(first + 1, second - first - 1));
    const auto title = Unescaped(line.substr(second + 1));
    const auto wideClass = className ? WideFromUtf8(*className) : std::nullopt;
    const auto wideTitle = title ? WideFromUtf8(*title) : std::nullopt;
    if (handleText.empty() || *end != '\0' || handle == 0 || !wideClass || !wideTitle) {
      continue;
    }
    windows.push_back({static_cast<std::uintptr_t>(handle), *wideClass, *wideTitle});
  }
  return windows;
}

bool WriteWhole(const std::filesystem::path& file, const std::string& text) {
  const std::filesystem::path temporary = file.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  return !error;
}

std::optional<std::string> ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool AppendRequest(const std::filesystem::path& file, const std::string& line) {
  const int fd = open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  flock(fd, LOCK_EX);
  const std::string whole = line + "\n";
  const bool written = write(fd, whole.data(), whole.size()) == static_cast<ssize_t>(whole.size());
  close(fd);
  return written;
}

std::vector<std::string> TakeRequests(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    return {};
  }
  flock(fd, LOCK_EX);
  std::string text;
  char buffer[4096];
  for (ssize_t got = 0; (got = read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  if (ftruncate(fd, 0) != 0) {
    text.clear();  // could not empty it: leave the requests for the next look
  }
  close(fd);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace handset
