// Session files reached only through the folder's descriptor, each checked to be a
// regular file of this user before anything is read from or written to it.
#include "platform/session/session_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <thread>

#include "platform/kernel/wide_text.h"

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

std::string Octal(mode_t mode) {
  char text[8];
  (void)std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

// What is wrong with `info` as a folder of this user that nobody else may write in: mode
// 0700 `exactly` for a folder the handset makes, any mode without write for the group or
// others for one the user has (a cache folder). Empty when nothing is.
std::string FolderProblem(const struct stat& info, bool exactly) {
  if (S_ISLNK(info.st_mode)) {
    return "it is a symbolic link";
  }
  if (!S_ISDIR(info.st_mode)) {
    return "it is not a folder";
  }
  if (info.st_uid != geteuid()) {
    return "it belongs to uid " + std::to_string(info.st_uid) + ", not " + std::to_string(geteuid());
  }
  if (exactly && (info.st_mode & 07777) != 0700) {
    return "its mode is " + Octal(info.st_mode) + ", not 0700";
  }
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return "its mode is " + Octal(info.st_mode) + ", which lets others write in it";
  }
  return "";
}

// `name` in `parent`, made with mode 0700 when missing and opened only as FolderProblem
// allows; `kind` names it in messages ("session", "cache").
Descriptor OpenFolderIn(int parent, const std::filesystem::path& shown, const std::string& name, const char* kind,
                        bool exactly, std::string& error) {
  const auto refuse = [&](const std::string& why) {
    error = std::string("cannot use the ") + kind + " folder " + shown.string() + ": " + why;
    return Descriptor();
  };
  // Made with its final mode, so there is no moment another user could open it.
  if (mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) {
    return refuse(std::strerror(errno));
  }
  struct stat info {};
  if (fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return refuse(std::strerror(errno));
  }
  if (const std::string problem = FolderProblem(info, exactly); !problem.empty()) {
    return refuse(problem);
  }
  Descriptor folder(openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!folder.Valid()) {
    return refuse(std::strerror(errno));
  }
  // What was opened is what was checked: a swap in between shows here.
  struct stat opened {};
  if (fstat(folder.Get(), &opened) != 0 || opened.st_dev != info.st_dev || opened.st_ino != info.st_ino) {
    return refuse("it changed while it was opened");
  }
  if (const std::string problem = FolderProblem(opened, exactly); !problem.empty()) {
    return refuse(problem);
  }
  return folder;
}

// `folder` opened in its parent, which must exist: the base a folder is made in is the
// system's or the user's, never made here.
Descriptor OpenFolderAt(const std::filesystem::path& folder, const char* kind, bool exactly, std::string& error) {
  const std::filesystem::path base = folder.parent_path();
  const Descriptor parent(open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!parent.Valid()) {
    error = std::string("cannot use the ") + kind + " folder " + folder.string() + ": its parent " + base.string() +
            " " + (errno == ENOENT ? "does not exist" : std::strerror(errno));
    return {};
  }
  return OpenFolderIn(parent.Get(), folder, folder.filename().string(), kind, exactly, error);
}

bool OwnedRegular(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    return false;
  }
  if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    errno = EPERM;
    return false;
  }
  return true;
}

bool WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) {
      continue;
    }
    if (wrote <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// At most `limit` bytes; nothing when the file holds more.
std::optional<std::string> ReadUpTo(int fd, std::size_t limit) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return std::nullopt;
    }
    if (got == 0) {
      return text;
    }
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > limit) {
      return std::nullopt;
    }
  }
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

Descriptor::~Descriptor() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

Descriptor OpenPrivateFolder(int parent, const std::filesystem::path& shown, const std::string& name,
                             std::string& error) {
  return OpenFolderIn(parent, shown, name, "session", true, error);
}

Descriptor OpenPrivateFolder(const std::filesystem::path& root, std::string& error) {
  return OpenFolderAt(root, "session", true, error);
}

Descriptor OpenCacheFolder(const std::filesystem::path& cache, std::string& error) {
  return OpenFolderAt(cache, "cache", false, error);
}

std::string LockName(pid_t pid) { return std::to_string(pid) + ".lock"; }
std::string WindowsName(pid_t pid) { return std::to_string(pid) + ".windows"; }
std::string RequestsName(pid_t pid) { return std::to_string(pid) + ".requests"; }

Descriptor OpenOwnedFile(int folder, const std::string& name, int flags) {
  Descriptor fd(openat(folder, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
  if (!fd.Valid() || !OwnedRegular(fd.Get())) {
    return {};
  }
  return fd;
}

void RemoveOwnedFile(int folder, const std::string& name) {
  struct stat info {};
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
      info.st_uid == geteuid()) {
    unlinkat(folder, name.c_str(), 0);
  }
}

bool LockWithin(int fd, int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

Descriptor TakeLock(int folder, pid_t pid) {
  Descriptor fd = OpenOwnedFile(folder, LockName(pid), O_RDWR | O_CREAT);
  if (!fd.Valid() || flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    return {};
  }
  return fd;
}

LockState LockOf(int folder, const std::string& name) {
  const Descriptor fd = OpenOwnedFile(folder, name, O_RDONLY);
  if (!fd.Valid()) {
    return errno == ENOENT ? LockState::Free : LockState::NotALock;
  }
  return flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 ? LockState::Held : LockState::Free;
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
    (void)std::snprintf(handle, sizeof handle, "%jx", static_cast<std::uintmax_t>(window.handle));
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

bool WriteWhole(int folder, const std::string& name, const std::string& text) {
  struct stat info {};
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)) {
    errno = EPERM;
    return false;  // renaming over it would replace what is not ours to replace
  }
  std::random_device random;
  for (int attempt = 0; attempt < 8; ++attempt) {
    char suffix[16];
    (void)std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
    const std::string temporary = name + suffix;
    Descriptor fd(openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) {
      if (errno == EEXIST) {
        continue;
      }
      return false;
    }
    if (!WriteAll(fd.Get(), text) || renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
      unlinkat(folder, temporary.c_str(), 0);
      return false;
    }
    return true;
  }
  return false;
}

std::optional<std::string> ReadWhole(int folder, const std::string& name, std::size_t limit) {
  const Descriptor fd = OpenOwnedFile(folder, name, O_RDONLY);
  if (!fd.Valid()) {
    return std::nullopt;
  }
  return ReadUpTo(fd.Get(), limit);
}

bool AppendRequest(int folder, const std::string& name, const std::string& line) {
  const Descriptor fd = OpenOwnedFile(folder, name, O_WRONLY | O_APPEND | O_CREAT);
  if (!fd.Valid() || !LockWithin(fd.Get(), 1000)) {
    return false;
  }
  return WriteAll(fd.Get(), line + "\n");
}

std::vector<std::string> TakeRequests(int folder, const std::string& name) {
  const Descriptor fd = OpenOwnedFile(folder, name, O_RDWR);
  if (!fd.Valid() || !LockWithin(fd.Get(), 100)) {
    return {};  // none, not ours, or busy: the next look may do
  }
  struct stat info {};
  std::optional<std::string> text;
  if (fstat(fd.Get(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) <= kRequestsLimit) {
    text = ReadUpTo(fd.Get(), kRequestsLimit);
  }
  if (ftruncate(fd.Get(), 0) != 0) {
    return {};  // could not empty it: leave the requests for the next look
  }
  return text ? LinesOf(*text) : std::vector<std::string>{};
}

}  // namespace handset
