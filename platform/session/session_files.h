// One process's files in a session folder: a lock held while it lives, its window list,
// and the requests others leave for it. Every file is reached through the folder's
// descriptor and must be a regular file of this user: another local user can plant
// links, FIFOs or huge files, and none of them is followed, waited on or read whole.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace handset {

struct PublishedWindow {
  std::uintptr_t handle = 0;
  std::u16string className;
  std::u16string title;
};

// A file descriptor closed with its owner.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor();
  bool Valid() const { return fd_ >= 0; }
  int Get() const { return fd_; }

 private:
  int fd_ = -1;
};

// Requests are short lines and window lists a few: anything bigger is not ours.
inline constexpr std::size_t kRequestsLimit = 4096;
inline constexpr std::size_t kWindowsLimit = std::size_t{64} * 1024;

// Opens `root` (made, one level, in its parent, which must exist) and then `name` in it,
// each only when it is a real folder of this user with mode 0700. Invalid with `error`
// naming the folder and what is wrong; nothing in a refused folder is touched.
Descriptor OpenPrivateFolder(const std::filesystem::path& root, std::string& error);
Descriptor OpenPrivateFolder(int parent, const std::filesystem::path& shown, const std::string& name,
                             std::string& error);

// Opens the user's cache folder (made, one level, with mode 0700 when missing) when it is
// a real folder of this user that nobody else may write in; its mode may be other than
// 0700. Invalid with `error` as above.
Descriptor OpenCacheFolder(const std::filesystem::path& cache, std::string& error);

std::string LockName(pid_t pid);
std::string WindowsName(pid_t pid);
std::string RequestsName(pid_t pid);

// Opens `name` in `folder` (creating it with `flags` & O_CREAT) without following a link
// or waiting on a FIFO; invalid, with errno set, unless it is a regular file of this user.
Descriptor OpenOwnedFile(int folder, const std::string& name, int flags);
// Removes `name` when it is a regular file of this user; anything else stays.
void RemoveOwnedFile(int folder, const std::string& name);

// Takes an exclusive flock, trying again for up to `milliseconds`.
bool LockWithin(int fd, int milliseconds);

// Takes the process's lock; invalid when the file cannot be made or locked.
Descriptor TakeLock(int folder, pid_t pid);
enum class LockState { Free, Held, NotALock };
LockState LockOf(int folder, const std::string& name);

std::string EncodeWindows(const std::vector<PublishedWindow>& windows);
// Lines that do not parse are skipped: another process may be writing a newer format.
std::vector<PublishedWindow> DecodeWindows(const std::string& text);

// Written through a fresh temporary file and renamed, so readers never see half a list.
bool WriteWhole(int folder, const std::string& name, const std::string& text);
// Nothing when the file is missing, not ours, or bigger than `limit`.
std::optional<std::string> ReadWhole(int folder, const std::string& name, std::size_t limit);

// Appends one request line, or takes all lines and empties the file, under its lock. A
// file too big to be requests is emptied unread.
bool AppendRequest(int folder, const std::string& name, const std::string& line);
std::vector<std::string> TakeRequests(int folder, const std::string& name);

}  // namespace handset
