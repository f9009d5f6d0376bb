// Pictures compared with the ones kept beside the tests; with VIRETA_UPDATE_GOLDEN=1 in
// the environment the kept ones are written anew instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gdi/bitmap.h"
#include "gdi/png_file.h"

namespace testsupport {

inline ::testing::AssertionResult MatchesGolden(const handset::Bitmap& bitmap, const std::filesystem::path& golden) {
  std::string error;
  const char* update = std::getenv("VIRETA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    return handset::WritePng(bitmap, golden, error) ? ::testing::AssertionSuccess()
                                                    : ::testing::AssertionFailure() << error;
  }
  const auto expected = handset::ReadPng(golden, error);
  if (!expected) {
    return ::testing::AssertionFailure() << error << " (VIRETA_UPDATE_GOLDEN=1 writes it)";
  }
  if (expected->width != bitmap.Width() || expected->height != bitmap.Height()) {
    return ::testing::AssertionFailure() << golden << " is " << expected->width << "x" << expected->height
                                         << ", the picture " << bitmap.Width() << "x" << bitmap.Height();
  }
  int mismatches = 0;
  std::string first;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t want = expected->pixels[static_cast<std::size_t>(y * bitmap.Width() + x)];
      const std::uint32_t got = bitmap.At(x, y) & 0xFFFFFFU;
      if (got != want && ++mismatches <= 5) {
        first += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
      }
    }
  }
  if (mismatches == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << mismatches << " pixels differ from " << golden << ", first at" << first;
}

}  // namespace testsupport
