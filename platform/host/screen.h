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

// The screen as it is now; none before boot. The pixels last until the next message.
std::optional<ScreenPixels> Screen();
// Writes the screen to `file` as PNG; false with `error` set.
bool WriteScreenPng(const std::filesystem::path& file, std::string& error);

}  // namespace handset::host
