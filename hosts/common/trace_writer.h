// The run's trace: JSON Lines, one object per event, fields in the order written.
// Written beside its file as it grows and put in place at the end, so a trace that
// could not be written leaves what was there before; a long run keeps only a small
// buffer in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "output_file.h"

namespace kit {

class TraceWriter {
 public:
  // Starts an event: {"ev":"NAME"
  TraceWriter& Begin(std::string_view event);
  TraceWriter& Field(std::string_view key, std::int64_t value);
  TraceWriter& Field(std::string_view key, double value);  // %.17g; NaN and infinities as null
  TraceWriter& Field(std::string_view key, std::string_view utf8);
  TraceWriter& Field(std::string_view key, std::u16string_view utf16);
  TraceWriter& Field(std::string_view key, bool value);
  // A value already written as JSON.
  TraceWriter& Raw(std::string_view key, std::string_view json);
  // Closes the event and its line.
  void End();

  // What is collected and not yet written out.
  const std::string& Text() const { return text_; }

  // From now on writes towards `file`, in place at Finish; false with `error` when it
  // cannot be written, or is `input` itself.
  bool StreamTo(const std::filesystem::path& file, std::string& error, const std::filesystem::path* input = nullptr);
  // Writes the rest and puts the file in place; false with `error` when that failed.
  bool Finish(std::string& error);
  // Keeps nothing: for a run without a trace file.
  void Discard() { discard_ = true; }
  // False once discarding: callers then need not build their events at all.
  bool Keeping() const { return !discard_; }
  // StreamTo and Finish at once, for a trace collected in memory.
  bool WriteTo(const std::filesystem::path& file, std::string& error);

  // JSON string literals, quotes included; bad UTF-16 becomes U+FFFD.
  static std::string Quote(std::string_view utf8);
  static std::string Quote(std::u16string_view utf16);

 private:
  void Key(std::string_view key);
  void Spill();
  std::string text_;
  bool open_ = false;
  kit::OutputFile out_;
  std::string failure_;
  bool discard_ = false;

 public:
  TraceWriter() = default;
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;
};

}  // namespace kit
