// The game's pictures, described in code: shapes and colours, drawn with cairo.
#pragma once

#include <string>

#include "image_files.h"

namespace artwork {

inline constexpr int kCarCell = 48;
inline constexpr int kCarCells = 19;
inline constexpr int kStraightCell = 9;
// Each cell away from the middle turns the car this much further.
inline constexpr double kDegreesPerCell = 10.0;

// The red car seen from above, pointing up, turned clockwise by `degrees`, on a
// transparent cell; anti-aliased.
image_files::Image Car(double degrees);
// 912 × 96: the 19 turned cars on black above the same cars on white.
image_files::Image CarSheet();
// 24 × 48: the roadside marker on black above its mask, a black disc on white.
image_files::Image MarkerSprite();
// 64 × 64: the speed dial's face on black.
image_files::Image DialFace();
// `size` × `size` (48 unless asked) with transparency: the program's icon, drawn at that
// size rather than scaled.
image_files::Image ProgramIcon(int size = kCarCell);

// Writes ProgramIcon(size) as a PNG with its alpha; false with `error` set.
bool WriteIconPng(const std::string& path, int size, std::string& error);

}  // namespace artwork
