// Desktop keys as the handset's keys, by the names the kit gives them.
#pragma once

#include <SDL.h>

#include <optional>
#include <string>

namespace desktop {

// F1/F2 the soft keys, Enter, Escape, the arrows, letters and Ctrl+letters, named as
// `key NAME` in a script; none for keys the phone has no counterpart of.
std::optional<std::string> KeyNameOf(SDL_Keycode key, bool control);

}  // namespace desktop
