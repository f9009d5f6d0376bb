// The window's title: the program's, what the host adds to it (the tilt, a replay's
// pace), and a note that stays a few seconds: where a screenshot went, what failed. A
// player who started the program from a menu sees no terminal, only this.
#pragma once

#include <cstdint>
#include <string>

namespace desktop {

class WindowTitle {
 public:
  explicit WindowTitle(std::string base) : base_(std::move(base)) {}

  void SetExtra(std::string extra) { extra_ = std::move(extra); }
  void Note(std::string note, std::uint64_t nowMs) {
    note_ = std::move(note);
    noteUntil_ = nowMs + kNoteMs;
  }
  // The title at `nowMs`, with the note while it lasts.
  std::string At(std::uint64_t nowMs) const {
    std::string title = base_;
    if (!extra_.empty()) {
      title += " - " + extra_;
    }
    if (!note_.empty() && nowMs < noteUntil_) {
      title += " - " + note_;
    }
    return title;
  }

  static constexpr std::uint64_t kNoteMs = 5000;

 private:
  std::string base_;
  std::string extra_;
  std::string note_;
  std::uint64_t noteUntil_ = 0;
};

// The tilt the handset reports now, for the title: "tilt 44 0", and its source when
// there is one: "tilt 44 0 (keys)".
std::string TiltText(const std::string& source);

}  // namespace desktop
