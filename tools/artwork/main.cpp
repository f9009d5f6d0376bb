// make_artwork DIR: writes the game's pictures as the resource script names them.
// make_artwork --icon-png FILE [SIZE]: writes the program's icon, 48 pixels square unless
// asked (16..1024).
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

#include "image_files.h"
#include "pictures.h"

int main(int argc, char** argv) {
  std::string error;
  if ((argc == 3 || argc == 4) && std::string(argv[1]) == "--icon-png") {
    int size = artwork::kCarCell;
    if (argc == 4) {
      const std::string_view text = argv[3];
      const char* const end = text.data() + text.size();
      const auto [stop, fault] = std::from_chars(text.data(), end, size);
      if (text.size() > 4 || fault != std::errc{} || stop != end || size < 16 || size > 1024) {
        std::cerr << "make_artwork: the icon's size must be 16..1024 pixels, got \"" << text << "\"\n";
        return 2;
      }
    }
    if (!artwork::WriteIconPng(argv[2], size, error)) {
      std::cerr << "make_artwork: " << error << '\n';
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::cerr << "usage: make_artwork OUTPUT_DIR | --icon-png FILE [SIZE]\n";
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
    std::cerr << "make_artwork: " << error << '\n';
    return 1;
  }
  return 0;
}
