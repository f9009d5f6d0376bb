// The words a script, a recording and the live hosts share for keys and a box's buttons,
// so that what one host records another replays.
#pragma once

#include <windef.h>

#include <optional>
#include <string_view>
#include <utility>

namespace kit {

// A key by its name in a script (softkey1, enter, a, ctrl+q ...): its virtual key and
// whether Ctrl is held; none for a name no key has.
std::optional<std::pair<UINT, bool>> KeyNamed(std::string_view name);

// A box's button by its name in a script (ok, cancel, yes, no, retry, abort, ignore),
// and back; 0 and "" for none.
int BoxButtonNamed(std::string_view name);
std::string_view BoxButtonName(int button);

}  // namespace kit
