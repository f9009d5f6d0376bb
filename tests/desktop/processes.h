// Child processes for the tests that run programs: started with extra environment, their output
// kept in a file, waited for with a deadline and never left behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace desktoptest {

class Process {
 public:
  // Runs `args` with `environment` ("NAME=value", or "NAME=" to remove NAME) added;
  // stdout goes to `output` (if given), stderr to `output` + ".err".
  Process(const std::vector<std::string>& args, const std::vector<std::string>& environment,
          const std::filesystem::path& output = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t Pid() const { return pid_; }
  // The exit code (128 + signal when killed), or none when it ran past `limit`.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  void Signal(int signal);

 private:
  pid_t pid_ = -1;
  std::optional<int> code_;
};

// Runs to the end within `limit`: the exit code, or -1 when it had to be killed.
int RunToEnd(const std::vector<std::string>& args, const std::vector<std::string>& environment,
             const std::filesystem::path& output = {}, std::chrono::milliseconds limit = std::chrono::seconds(20));

}  // namespace desktoptest
