// One process's files in a session folder: a lock held while it lives, its window list,
// and the requests others leave for it.
#pragma once

#include <sys/types.h>

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
class FileLock {
 public:
  FileLock() = default;
  explicit FileLock(int fd) : fd_(fd) {}
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

std::filesystem::path LockFile(const std::filesystem::path& folder, pid_t pid);
std::filesystem::path WindowsFile(const std::filesystem::path& folder, pid_t pid);
std::filesystem::path RequestsFile(const std::filesystem::path& folder, pid_t pid);

// Takes the process's lock; not held when the file cannot be locked.
FileLock TakeLock(const std::filesystem::path& file);
// Whether a process holds `file`'s lock now.
bool LockHeld(const std::filesystem::path& file);

std::string EncodeWindows(const std::vector<PublishedWindow>& windows);
// Lines that do not parse are skipped: another process may be writing a newer format.
std::vector<PublishedWindow> DecodeWindows(const std::string& text);

// Written through a temporary file and renamed, so readers never see half a list.
bool WriteWhole(const std::filesystem::path& file, const std::string& text);
std::optional<std::string> ReadWhole(const std::filesystem::path& file);

// Appends one request line, or takes all lines and empties the file, under a lock.
bool AppendRequest(const std::filesystem::path& file, const std::string& line);
std::vector<std::string> TakeRequests(const std::filesystem::path& file);

}  // namespace handset
