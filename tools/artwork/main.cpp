// make_artwork DIR: writes the game's pictures as the resource script names them.
// make_artwork --icon-png FILE: writes the program's icon for the desktop.
#include <cstdio>
#include <string>

#include "image_files.h"
#include "pictures.h"

int main(int argc, char** argv) {
  std::string error;
  if (argc == 3 && std::string(argv[1]) == "--icon-png") {
    if (!artwork::WriteIconPng(argv[2], error)) {
      std::fprintf(stderr, "make_artwork: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_artwork OUTPUT_DIR | --icon-png FILE\n");
    return 2;
  }
  const std::string folder = argv[1];
  const bool written =
      image_files::WriteFile(folder + "/cars.bmp", image_files::BmpFile(artwork::CarSheet()), error) &&
      image_files::WriteFile(folder + "/marker.bmp", image_files::BmpFile(artwork::MarkerSprite()), error) &&
      image_files::WriteFile(folder + "/dial.bmp", image_files::BmpFile(artwork::DialFace()), error) &&
      image_files::WriteFile(folder + "/vireta.ico",
                             image_files::IcoFile({image_files::WithAlphaMask(artwork::ProgramIcon())}), error);
  if (!written) {
    std::fprintf(stderr, "make_artwork: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
