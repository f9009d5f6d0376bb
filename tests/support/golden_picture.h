// Pictures compared with the ones kept beside the tests; with VIRETA_UPDATE_GOLDEN=1 in
// the environment the kept ones are written anew instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/png_file.h"
#include "support/pixels.h"

namespace testsupport {

inline ::testing::AssertionResult MatchesGolden(const handset::Bitmap& bitmap, const std::filesystem::path& golden) {
  std::string error;
  const char* update = std::getenv("VIRETA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    return handset::WritePng(bitmap, golden, error) ? ::testing::AssertionSuccess()
                                                    : ::testing::AssertionFailure() << error;
  }
  const auto kept = handset::ReadPng(golden, error);
  if (!kept) {
    return ::testing::AssertionFailure() << error << " (VIRETA_UPDATE_GOLDEN=1 writes it)";
  }
  if (kept->width != bitmap.Width() || kept->height != bitmap.Height()) {
    return ::testing::AssertionFailure() << golden << " is " << kept->width << "x" << kept->height;
  }
  return SamePixels(
             kept->width, kept->height, [&](int x, int y) { return bitmap.At(x, y) & 0xFFFFFFU; },
             [&](int x, int y) { return kept->pixels[static_cast<std::size_t>(y * kept->width + x)]; })
         << " against " << golden;
}

}  // namespace testsupport
