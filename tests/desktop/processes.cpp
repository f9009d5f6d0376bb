// Child processes for the tests that run several programs at once.
#include "processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace desktoptest {

Process::Process(const std::vector<std::string>& args, const std::vector<std::string>& environment) {
  pid_ = fork();
  if (pid_ != 0) {
    return;
  }
  for (const std::string& variable : environment) {
    putenv(const_cast<char*>(variable.c_str()));
  }
  const int quiet = open("/dev/null", O_WRONLY);
  dup2(quiet, STDOUT_FILENO);
  dup2(quiet, STDERR_FILENO);
  std::vector<char*> argv;
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

Process::~Process() {
  if (pid_ > 0 && !code_) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

std::optional<int> Process::Wait(std::chrono::milliseconds limit) {
  if (code_ || pid_ <= 0) {
    return code_;
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return code_;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void Process::Signal(int signal) {
  if (pid_ > 0 && !code_) {
    kill(pid_, signal);
  }
}

}  // namespace desktoptest
