#include "lap_book.h"

#include <algorithm>
#include <cstdio>

namespace kit {

std::string LapTime(double seconds) {
  char text[32];
  (void)std::snprintf(text, sizeof text, "%.2f", seconds);
  return text;
}

std::optional<double> LapBook::Best() const {
  if (laps_.empty()) {
    return std::nullopt;
  }
  return *std::min_element(laps_.begin(), laps_.end());
}

std::string LapBook::Lines() const {
  if (laps_.empty()) {
    return "no lap completed\n";
  }
  std::string lines;
  for (std::size_t i = 0; i < laps_.size(); ++i) {
    lines += "lap " + std::to_string(i + 1) + ": " + LapTime(laps_[i]) + "\n";
  }
  return lines + "best lap: " + LapTime(*Best()) + "\n";
}

std::string LapBook::Summary() const {
  if (!watch_) {
    return {};
  }
  if (laps_.empty()) {
    return "no lap completed";
  }
  std::string line = "laps";
  for (const double lap : laps_) {
    line += " " + LapTime(lap);
  }
  return line + ", best " + LapTime(*Best());
}

}  // namespace kit
