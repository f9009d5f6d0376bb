// Whole files where a file's mode cannot be changed (fchmod fails, as on FAT and exFAT
// media; ctest preloads a stand-in that makes it so): they still come out whole, with
// the mode the umask gives, and no descriptor or temporary is left behind, whether the
// write works or fails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gdi/png_file.h"
#include "platform/gdi/whole_file.h"
#include "support/headless_runs.h"

namespace {

namespace fs = std::filesystem;

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  }
  return bytes;
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class WholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "whole-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    // Without the stand-in the test would prove nothing: the file system here changes modes.
    const int probe = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    errno = 0;
    const bool refused = ::fchmod(probe, 0700) != 0 && errno == EPERM;
    ::close(probe);
    ASSERT_TRUE(refused) << "run with LD_PRELOAD naming the fchmod_fails library, as ctest does";
    mask_ = ::umask(027);
  }
  void TearDown() override {
    ::umask(mask_);
    fs::remove_all(dir_);
  }
  fs::path dir_;
  mode_t mask_ = 0;
};

TEST_F(WholeFile, ComesOutWholeTimeAfterTimeWithTheUmasksMode) {
  const std::size_t before = OpenDescriptors();
  for (int round = 0; round < 40; ++round) {
    const auto bytes = Bytes(1000 + static_cast<std::size_t>(round) * 997, static_cast<std::uint8_t>(round));
    std::string error;
    ASSERT_TRUE(handset::WriteWholeFile(dir_ / "shot.png", bytes, error)) << error;
    const std::string written = testsupport::Read(dir_ / "shot.png");
    ASSERT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()), bytes) << "round " << round;
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(fs::status(dir_ / "shot.png").permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"shot.png"});
}

TEST_F(WholeFile, AScreenshotToo) {
  const std::size_t before = OpenDescriptors();
  handset::Bitmap bitmap(3, 2, std::vector<std::uint32_t>(6));
  std::string error;
  for (int round = 0; round < 10; ++round) {
    bitmap.Row(1)[round % 3] = 0x00FF8000U + static_cast<std::uint32_t>(round);
    ASSERT_TRUE(handset::WritePng(bitmap, dir_ / "shot.png", error)) << error;
    const auto picture = handset::ReadPng(dir_ / "shot.png", error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->pixels[static_cast<std::size_t>(3 + round % 3)],
              0x00FF8000U + static_cast<std::uint32_t>(round));
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"shot.png"});
}

// A write that fails half way (the file grows past the process's limit) keeps what was
// there, and takes its temporary and its descriptor along.
TEST_F(WholeFile, AFailedWriteLeavesTheOldFileAndNothingElse) {
  const auto old = Bytes(100, 1);
  std::string error;
  ASSERT_TRUE(handset::WriteWholeFile(dir_ / "shot.png", old, error)) << error;
  const std::size_t before = OpenDescriptors();
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{4096, limit.rlim_max};
  const auto signal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = handset::WriteWholeFile(dir_ / "shot.png", Bytes(100000, 2), error);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, signal);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "cannot write " + (dir_ / "shot.png").string() + ": " + std::strerror(EFBIG));
  const std::string kept = testsupport::Read(dir_ / "shot.png");
  EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()), old);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"shot.png"});
}

}  // namespace
