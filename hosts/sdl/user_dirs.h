// The user's named folders (pictures, music...) as xdg-user-dirs-update writes them in
// user-dirs.dirs and xdg-user-dir reads them back.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace desktop {

// The folder `text` (a user-dirs.dirs) gives for `key` ("PICTURES"): its last line
// XDG_KEY_DIR="$HOME/..." or XDG_KEY_DIR="/...", as sourcing the file would leave it.
// Any other line, and one the shell would read otherwise (another variable inside, text
// after the quotes), is passed over; "$HOME" lines need a `home`.
std::optional<std::filesystem::path> UserDirIn(std::string_view text, std::string_view key,
                                               const std::optional<std::filesystem::path>& home);

// The same from $XDG_CONFIG_HOME/user-dirs.dirs (when absolute), else from
// HOME/.config/user-dirs.dirs; none when there is no such regular file.
std::optional<std::filesystem::path> UserDir(std::string_view key, const std::optional<std::filesystem::path>& home);

}  // namespace desktop
