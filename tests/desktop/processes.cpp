#include "processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace desktoptest {

Process::Process(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                 const std::filesystem::path& output) {
  pid_ = fork();
  if (pid_ != 0) {
    return;
  }
  for (const std::string& variable : environment) {
    const auto equals = variable.find('=');
    const std::string name = variable.substr(0, equals);
    const std::string value = variable.substr(equals + 1);
    if (value.empty()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  const std::string out = output.empty() ? "/dev/null" : output.string();
  const std::string err = output.empty() ? "/dev/null" : output.string() + ".err";
  const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (outFd < 0 || errFd < 0) {
    _exit(126);
  }
  dup2(outFd, STDOUT_FILENO);
  dup2(errFd, STDERR_FILENO);
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

int RunToEnd(const std::vector<std::string>& args, const std::vector<std::string>& environment,
             const std::filesystem::path& output, std::chrono::milliseconds limit) {
  Process process(args, environment, output);
  return process.Wait(limit).value_or(-1);
}

}  // namespace desktoptest
