#include "key_map.h"

namespace desktop {

std::optional<std::string> KeyNameOf(SDL_Keycode key, bool control) {
  if (key >= SDLK_a && key <= SDLK_z) {
    const char letter = static_cast<char>('a' + (key - SDLK_a));
    return (control ? std::string("ctrl+") : std::string()) + letter;
  }
  struct Named {
    SDL_Keycode key;
    const char* name;
  };
  // Scripts know Ctrl only with letters; the phone's keys go as they are.
  static const Named kNamed[] = {
      {SDLK_F1, "softkey1"},    {SDLK_F2, "softkey2"},   {SDLK_RETURN, "enter"},
      {SDLK_KP_ENTER, "enter"}, {SDLK_ESCAPE, "escape"}, {SDLK_UP, "up"},
      {SDLK_DOWN, "down"},      {SDLK_LEFT, "left"},     {SDLK_RIGHT, "right"},
  };
  for (const Named& named : kNamed) {
    if (named.key == key) {
      return std::string(named.name);
    }
  }
  return std::nullopt;
}

}  // namespace desktop
