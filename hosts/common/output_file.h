// A whole file a host writes (a trace, a recording): made beside its place under a name
// only this process could have created, and put in place by rename, so a failed run
// leaves what was there before. A device or FIFO is written straight through instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kit {

class OutputFile {
 public:
  // Checks `file` and starts writing it; false with `error` ("FILE: cannot write WHAT:
  // reason") for a directory, `input` itself, or a folder where nothing can be made.
  // `what` names the file in messages, e.g. "the trace".
  bool Open(const std::filesystem::path& file, std::string_view what, std::string& error,
            const std::filesystem::path* input = nullptr);
  bool Write(std::string_view bytes, std::string& error);
  // Writes `bytes` all or nothing: when a write fails part way (a full disk), a regular
  // file is cut back to where it ended before, so it holds only whole lines.
  bool WriteWhole(std::string_view bytes, std::string& error);
  // Puts the file in place now; what is written afterwards goes straight into it.
  bool Place(std::string& error);
  // Closes the file and puts it in place; false with `error` when anything failed.
  bool Commit(std::string& error);
  bool IsOpen() const { return fd_ >= 0; }

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Removes the temporary if it never got in place.
  ~OutputFile();

 private:
  std::string Failure(int code) const;
  void Abandon();
  std::filesystem::path file_;    // as the user named it, for messages
  std::filesystem::path target_;  // the real file, past a symlink
  std::filesystem::path temporary_;
  std::string what_;
  int fd_ = -1;
  int failedWith_ = 0;  // errno of the first failed write
};

}  // namespace kit
