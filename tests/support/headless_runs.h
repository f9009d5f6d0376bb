// Whole runs of an executable through the headless host, as a process: its exit code,
// its trace and what it said on stderr. Each test gets a folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

namespace fs = std::filesystem;

inline std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a trace for one kind of event.
inline std::vector<std::string> Lines(const std::string& text, const std::string& event) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("{\"ev\":\"" + event + "\"")) {
      lines.push_back(line);
    }
  }
  return lines;
}

struct Result {
  int code = -1;
  std::string trace;
  std::string errors;
};

class HeadlessRuns : public ::testing::Test {
 protected:
  explicit HeadlessRuns(std::string executable = {}) : executable_(std::move(executable)) {}

  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("headless_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs `script` with `options` after the script's; the trace goes to DIR/NAME.jsonl
  // and shots into DIR/NAME/.
  Result Run(const std::string& script, const std::string& options = "", const std::string& name = "run") {
    const fs::path file = dir_ / (name + ".txt");
    std::ofstream(file, std::ios::binary) << script;
    fs::create_directories(dir_ / name);
    const fs::path trace = dir_ / (name + ".jsonl");
    const int code = Shell(executable_ + " --headless --script " + file.string() + " --trace " + trace.string() +
                               " --shots " + (dir_ / name).string() + " " + options,
                           name);
    return {code, Read(trace), Read(dir_ / (name + ".err"))};
  }

  // Runs `command` through the shell, what it says on stderr in DIR/NAME.err; its exit
  // code, -1 when it did not exit.
  int Shell(const std::string& command, const std::string& name) const {
    const int status = std::system((command + " 2>" + (dir_ / (name + ".err")).string()).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string executable_;
  fs::path dir_;
};

}  // namespace testsupport
