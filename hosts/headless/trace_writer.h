// The run's trace: JSON Lines, one object per event, fields in the order written.
// Kept in memory and written whole at the end (beside the file, then renamed), so a run
// leaves either its complete trace or, when it failed, the part up to the failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace headless {

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

  const std::string& Text() const { return text_; }

  // Writes what is collected to `file`; false with `error` when it cannot.
  bool WriteTo(const std::filesystem::path& file, std::string& error) const;

  // JSON string literals, quotes included; bad UTF-16 becomes U+FFFD.
  static std::string Quote(std::string_view utf8);
  static std::string Quote(std::u16string_view utf16);

 private:
  void Key(std::string_view key);
  std::string text_;
  bool open_ = false;
};

}  // namespace headless
