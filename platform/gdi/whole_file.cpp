#include "platform/gdi/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace handset {

namespace {

// The temporary's descriptor, closed on every way out.
class Temporary {
 public:
  explicit Temporary(int fd) : fd_(fd) {}
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() { Close(); }
  int Get() const { return fd_; }
  // Its error when closing fails, which for some file systems is where a write fails.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

constexpr int kAttempts = 100;

std::string Suffix(std::mt19937_64& random) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string suffix;
  for (int i = 0; i < 10; ++i) {
    suffix += kLetters[random() % (sizeof kLetters - 1)];
  }
  return suffix;
}

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t step = write(fd, bytes.data() + written, bytes.size() - written);
    if (step < 0 && errno == EINTR) {
      continue;
    }
    if (step <= 0) {
      return step < 0 ? errno : EIO;
    }
    written += static_cast<std::size_t>(step);
  }
  return 0;
}

}  // namespace

bool WriteWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, std::string& error) {
  const auto fail = [&](int why) {
    error = "cannot write " + file.string() + ": " + std::strerror(why);
    return false;
  };
  struct stat there {};
  if (lstat(file.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
    error = "cannot write " + file.string() + ": it is there and not a regular file";
    return false;
  }
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) {
    folder = ".";
  }
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::filesystem::path name = folder / ("." + file.filename().string() + "." + Suffix(random));
    // Made with the mode any new file gets under the umask: a picture is for the user's
    // other programs too, and changing the mode afterwards fails on FAT and exFAT media.
    Temporary temporary(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (temporary.Get() < 0) {
      if (errno == EEXIST) {
        continue;
      }
      return fail(errno);
    }
    int why = WriteAll(temporary.Get(), bytes);
    if (const int closing = temporary.Close(); why == 0) {
      why = closing;
    }
    if (why == 0 && rename(name.c_str(), file.c_str()) != 0) {
      why = errno;
    }
    if (why != 0) {
      unlink(name.c_str());
      return fail(why);
    }
    return true;
  }
  return fail(EEXIST);
}

}  // namespace handset
