// The handset's screen as a host shows it: its size and its pixels, 0x00RRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace handset::host {

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // pixels from one row to the next
  const std::uint32_t* pixels = nullptr;

  const std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * stride; }
};

// The screen as it is now; none before boot. The pixels last until the next message,
// and are stale once drawing was turned off.
std::optional<ScreenPixels> Screen();
// Writes the screen to `file` as PNG; false with `error` set, and so once drawing was
// turned off in this run.
bool WriteScreenPng(const std::filesystem::path& file, std::string& error);

// On by default. Off, for a run whose pixels nobody looks at: every drawing and window
// call returns, fails, clips, measures and sends as before, but no pixel of a bitmap or
// of the screen is written. Turning it on again draws again but cannot mend what was
// skipped, so the screen is never written out after that. GetPixel reads what the
// bitmap holds: a program that reads pixels back must be run with drawing on.
void DrawPixels(bool draw);

}  // namespace handset::host
