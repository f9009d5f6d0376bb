// The desktop's screenshots: the screen as a PNG named after the program and the time,
// in the user's pictures folder unless --shots says.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace desktop {

// The pictures folder as xdg-user-dir gives it (the user-dirs.dirs line, else
// $XDG_PICTURES_DIR when absolute), else ~/Pictures, and in it a folder named `title`,
// made when missing. None with `error` set when there is no home, or the folder cannot
// be made or is not a folder of this user (a link, say).
std::optional<std::filesystem::path> PicturesFolder(const std::string& title, std::string& error);

// Writes the handset's screen into `folder`, or the pictures folder of `title` when
// none, as PROGRAM-YYYYMMDD-HHMMSS-mmm.png; the file, or none with `error` set.
std::optional<std::filesystem::path> SaveScreenshot(const std::optional<std::filesystem::path>& folder,
                                                    const std::string& program, const std::string& title,
                                                    std::string& error);

}  // namespace desktop
