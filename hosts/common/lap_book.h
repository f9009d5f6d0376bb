// The laps a program closes, as it tells them after each message it handles: what
// `--laps` prints, a finished run shows and a recording's last line notes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kit {

// Asked after every message a window procedure handled: the time of the lap that
// message closed, in seconds, or none.
using LapWatch = std::function<std::optional<double>()>;

// A lap's time as the program shows it: "58.94".
std::string LapTime(double seconds);

class LapBook {
 public:
  LapBook() = default;
  explicit LapBook(LapWatch watch) : watch_(std::move(watch)) {}

  void AfterMessage() {
    if (watch_) {
      if (const std::optional<double> lap = watch_()) {
        laps_.push_back(*lap);
      }
    }
  }

  const std::vector<double>& Laps() const { return laps_; }
  std::optional<double> Best() const;
  // "lap 1: 61.35" a line each, then "best lap: 58.94"; "no lap completed" for none.
  std::string Lines() const;
  // "laps 61.35 58.94, best 58.94", or "no lap completed"; "" for a program without laps.
  std::string Summary() const;

 private:
  LapWatch watch_;
  std::vector<double> laps_;
};

}  // namespace kit
