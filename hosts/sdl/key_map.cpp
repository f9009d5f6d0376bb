#include "key_map.h"

#include <winuser.h>

namespace desktop {

std::optional<HandsetKey> HandsetKeyOf(SDL_Keycode key, bool control) {
  if (key >= SDLK_a && key <= SDLK_z) {
    const char letter = static_cast<char>('a' + (key - SDLK_a));
    return HandsetKey{static_cast<UINT>('A' + (key - SDLK_a)), control,
                      (control ? std::string("ctrl+") : std::string()) + letter};
  }
  struct Named {
    SDL_Keycode key;
    UINT virtualKey;
    const char* name;
  };
  static const Named kNamed[] = {
      {SDLK_F1, VK_F1, "softkey1"},        {SDLK_F2, VK_F2, "softkey2"},       {SDLK_RETURN, VK_RETURN, "enter"},
      {SDLK_KP_ENTER, VK_RETURN, "enter"}, {SDLK_ESCAPE, VK_ESCAPE, "escape"}, {SDLK_UP, VK_UP, "up"},
      {SDLK_DOWN, VK_DOWN, "down"},        {SDLK_LEFT, VK_LEFT, "left"},       {SDLK_RIGHT, VK_RIGHT, "right"},
  };
  for (const Named& named : kNamed) {
    if (named.key == key) {
      // Scripts know Ctrl only with letters; the phone's keys go as they are.
      return HandsetKey{named.virtualKey, false, named.name};
    }
  }
  return std::nullopt;
}

}  // namespace desktop
