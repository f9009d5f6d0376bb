// Never opens a path someone else may have planted: the temporary is created with
// O_EXCL under a fresh random name, only a regular file is ever replaced, no link of
// another user in a shared folder is followed, and no FIFO of another user is fed.
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace kit {

namespace {

#ifdef __EMSCRIPTEN__
// Node's files through emscripten are written at the stream's own position, which a pipe
// or a FIFO refuses ("Invalid seek"): written here as write(2) writes, at the file's
// offset. -2 for a reader gone, -1 for any other failure.
// clang-format off
EM_JS(int, WriteAtOffset, (int fd, const char* data, int size), {
  try {
    return require('fs').writeSync(FS.getStream(fd).nfd, HEAPU8.subarray(data, data + size));
  } catch (error) {
    return error.code === 'EPIPE' ? -2 : -1;
  }
});
// clang-format on

ssize_t WriteSome(int fd, const char* data, std::size_t size) {
  const int written = WriteAtOffset(fd, data, static_cast<int>(std::min<std::size_t>(size, 1U << 30)));
  if (written < 0) {
    errno = written == -2 ? EPIPE : EIO;
    return -1;
  }
  return written;
}
#else
ssize_t WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
#endif

constexpr int kAttempts = 100;
constexpr int kMaxLinks = 40;

// The kernel's protected_symlinks rule, kept whatever /proc/sys/fs/protected_symlinks
// says: in a sticky folder anyone may write to, only a link of this user or of the
// folder's owner is followed, for another user's link may lead anywhere this user can
// write. Every link met while resolving `path` is judged; the reason for a refusal, or
// empty. A part that is not there ends the walk: nothing past it is followed.
std::string PlantedLink(const std::filesystem::path& path) {
  std::error_code code;
  std::filesystem::path done = path.is_absolute() ? path.root_path() : std::filesystem::current_path(code);
  if (code) {
    return "";  // the open says what is wrong with the path
  }
  const std::filesystem::path relative = path.relative_path();
  std::vector<std::filesystem::path> rest(relative.begin(), relative.end());
  std::reverse(rest.begin(), rest.end());  // taken from the back
  for (int links = 0; !rest.empty();) {
    const std::filesystem::path part = std::move(rest.back());
    rest.pop_back();
    if (part.empty() || part == ".") {
      continue;
    }
    if (part == "..") {
      done = done.parent_path();  // `done` holds no link, so this is where ".." leads
      continue;
    }
    const std::filesystem::path next = done / part;
    struct stat link {};
    if (::lstat(next.c_str(), &link) != 0) {
      return "";
    }
    if (!S_ISLNK(link.st_mode)) {
      done = next;
      continue;
    }
    if (struct stat folder{}; ::stat(done.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
                              (folder.st_mode & S_IWOTH) != 0 && link.st_uid != ::geteuid() &&
                              link.st_uid != folder.st_uid) {
      return "the link " + next.string() + " in the shared folder " + done.string() + " belongs to another user (uid " +
             std::to_string(link.st_uid) + ")";
    }
    const std::filesystem::path target = std::filesystem::read_symlink(next, code);
    if (code || ++links > kMaxLinks) {
      return "";  // the open fails on it too, and says why
    }
    if (target.is_absolute()) {
      done = target.root_path();
    }
    const std::filesystem::path further = target.relative_path();
    const std::vector<std::filesystem::path> parts(further.begin(), further.end());
    rest.insert(rest.end(), parts.rbegin(), parts.rend());
  }
  return "";
}

std::string Suffix(std::mt19937_64& random) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string suffix;
  for (int i = 0; i < 10; ++i) {
    suffix += kLetters[random() % (sizeof kLetters - 1)];
  }
  return suffix;
}

}  // namespace

std::string OutputFile::Failure(int code) const {
  return file_.string() + ": cannot write " + what_ + ": " + std::strerror(code);
}

bool OutputFile::Open(const std::filesystem::path& file, std::string_view what, std::string& error,
                      const std::filesystem::path* input) {
  file_ = file;
  what_ = what;
  target_ = file;
#ifdef SIGXFSZ
  // A file-size limit is then a failed write, told like a full disk, not the end of
  // the program.
  (void)std::signal(SIGXFSZ, SIG_IGN);
#endif
  struct stat info {};
  const bool exists = ::stat(file.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) {
    error = Failure(errno);
    return false;
  }
  if (exists && S_ISDIR(info.st_mode)) {
    error = Failure(EISDIR);
    return false;
  }
  if (struct stat other{}; exists && input != nullptr && ::stat(input->c_str(), &other) == 0 &&
                           other.st_dev == info.st_dev && other.st_ino == info.st_ino) {
    error = file_.string() + ": cannot write " + what_ + ": it is " + input->string() + " itself";
    return false;
  }
  if (const std::string planted = PlantedLink(file); !planted.empty()) {
    error = file_.string() + ": cannot write " + what_ + ": " + planted;
    return false;
  }
  // Opened as named: /dev/stdout is a link to something that is no path. Without
  // blocking, so a FIFO nobody reads is refused at once instead of holding the run.
  if (exists && !S_ISREG(info.st_mode)) {
    fd_ = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
      error = errno == ENXIO && S_ISFIFO(info.st_mode)
                  ? file_.string() + ": cannot write " + what_ + ": it is a FIFO that nothing reads"
                  : Failure(errno);
      return false;
    }
    // What was looked at must be what got opened, not something put there meanwhile.
    struct stat opened {};
    if (::fstat(fd_, &opened) != 0 || opened.st_dev != info.st_dev || opened.st_ino != info.st_ino) {
      Abandon();
      error = file_.string() + ": cannot write " + what_ + ": it changed while being opened";
      return false;
    }
    // Whoever owns a FIFO chooses what reads it: another user's would take the whole file.
    if (S_ISFIFO(opened.st_mode) && opened.st_uid != ::geteuid()) {
      Abandon();
      error = file_.string() + ": cannot write " + what_ + ": it is a FIFO of another user (uid " +
              std::to_string(opened.st_uid) + ")";
      return false;
    }
    // Checked: from now on a slow reader slows the writes, as it would any writer's.
    if (const int flags = ::fcntl(fd_, F_GETFL); flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      const int code = errno;
      Abandon();
      error = Failure(code);
      return false;
    }
    return true;
  }
  // The user named the link: the file it leads to, even one not made yet, is written.
  for (int hops = 0;; ++hops) {
    struct stat link {};
    if (::lstat(target_.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      break;
    }
    std::error_code code;
    const std::filesystem::path next = std::filesystem::read_symlink(target_, code);
    if (code || hops == kMaxLinks) {
      error = Failure(code ? code.value() : ELOOP);
      return false;
    }
    target_ = next.is_absolute() ? next : target_.parent_path() / next;
  }
  const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::filesystem::path temporary = folder / ("." + target_.filename().string() + "." + Suffix(random));
    fd_ = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd_ >= 0) {
      temporary_ = std::move(temporary);
      return true;
    }
    if (errno != EEXIST) {
      break;
    }
  }
  error = Failure(errno);
  return false;
}

bool OutputFile::Write(std::string_view bytes, std::string& error) {
  if (failedWith_ != 0 || fd_ < 0) {
    error = Failure(failedWith_ != 0 ? failedWith_ : EBADF);
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t written = WriteSome(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      failedWith_ = written < 0 ? errno : EIO;
      error = Failure(failedWith_);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool OutputFile::WriteWhole(std::string_view bytes, std::string& error) {
  const off_t before = fd_ >= 0 ? ::lseek(fd_, 0, SEEK_CUR) : -1;
  if (Write(bytes, error)) {
    return true;
  }
  if (before >= 0 && ::ftruncate(fd_, before) == 0) {
    (void)::lseek(fd_, before, SEEK_SET);
  }
  return false;
}

bool OutputFile::Place(std::string& error) {
  if (temporary_.empty()) {
    return true;
  }
  // Checked again: what took the regular file's place meanwhile is not replaced.
  if (struct stat info{}; ::lstat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = Failure(S_ISDIR(info.st_mode) ? EISDIR : EEXIST);
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = Failure(errno);
    return false;
  }
  temporary_.clear();
  return true;
}

bool OutputFile::Commit(std::string& error) {
  if (fd_ < 0) {
    error = Failure(EBADF);
    return false;
  }
  const int closed = ::close(fd_);
  const int code = errno;
  fd_ = -1;
  if (failedWith_ != 0) {
    error = Failure(failedWith_);
    Abandon();
    return false;
  }
  if (closed != 0) {
    error = Failure(code);
    Abandon();
    return false;
  }
  if (!Place(error)) {
    Abandon();
    return false;
  }
  return true;
}

void OutputFile::Abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

OutputFile::~OutputFile() { Abandon(); }

}  // namespace kit
