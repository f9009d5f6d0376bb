// Desktop keys as the handset's keys: the virtual key the phone's keyboard driver sends
// and the name a headless script gives it.
#pragma once

#include <SDL.h>
#include <windef.h>

#include <optional>
#include <string>

namespace desktop {

struct HandsetKey {
  UINT virtualKey = 0;
  bool control = false;
  std::string name;  // as `key NAME` in a script
};

// F1/F2 the soft keys, Enter, Escape, the arrows, letters and Ctrl+letters; nothing for
// keys the phone has no counterpart of.
std::optional<HandsetKey> HandsetKeyOf(SDL_Keycode key, bool control);

}  // namespace desktop
