// PNG files of bitmaps, for screenshots and for comparing pictures in tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace handset {

// Writes `bitmap` as an 8-bit RGB PNG, as WriteWholeFile writes files: whole or not at
// all, never through a link; on failure `error` says why and nothing is replaced.
bool WritePng(const Bitmap& bitmap, const std::filesystem::path& file, std::string& error);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

std::optional<Picture> ReadPng(const std::filesystem::path& file, std::string& error);

}  // namespace handset
