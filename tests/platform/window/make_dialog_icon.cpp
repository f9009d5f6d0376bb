// Writes dialog.ico for dialogs.rc: one 8 x 8 32-bit image, opaque blue but for a
// transparent top row and a half-transparent red last row, so a test can tell that an
// icon is drawn at its own size with its alpha.
#include <cstdio>
#include <string>
#include <vector>

#include "image_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  constexpr int kSize = 8;
  // The AND mask stays clear: the alpha decides.
  image_files::IconImage icon{image_files::Image(kSize, kSize, 0xFF0000FFU), std::vector<bool>(kSize * kSize)};
  for (int x = 0; x < kSize; ++x) {
    icon.colours.At(x, 0) = 0;
    icon.colours.At(x, kSize - 1) = 0x80FF0000U;
  }
  std::string error;
  if (!image_files::WriteFile(std::string(argv[1]) + "/dialog.ico", image_files::IcoFile({icon}), error)) {
    std::fprintf(stderr, "make_dialog_icon: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
