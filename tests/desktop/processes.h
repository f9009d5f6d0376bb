// A child process for the tests that run several programs at once: started with extra
// environment and its output dropped, waited for with a deadline, never left behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace desktoptest {

class Process {
 public:
  // Runs `args` with `environment` ("NAME=value") added.
  Process(const std::vector<std::string>& args, const std::vector<std::string>& environment);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The exit code (128 + signal when killed), or none when it ran past `limit`.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  void Signal(int signal);

 private:
  pid_t pid_ = -1;
  std::optional<int> code_;
};

}  // namespace desktoptest
