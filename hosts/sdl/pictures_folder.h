// Where the desktop's screenshots go unless --shots says: the user's pictures folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace desktop {

// $XDG_PICTURES_DIR (when absolute), else ~/Pictures, and in it a folder named `title`,
// made when missing. None with `error` set when there is no home, or the folder cannot
// be made or is not a folder of this user (a link, say).
std::optional<std::filesystem::path> PicturesFolder(const std::string& title, std::string& error);

}  // namespace desktop
