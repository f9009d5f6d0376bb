// SDL wakes a waiting SDL_WaitEventTimeout by sending an event to the window over a
// second X connection. When that window is destroyed first, the X server answers the
// send with BadWindow, and Xlib's default handler ends the program with exit code 1 as
// it quits. Such an answer is forgiven; every other X error goes where it went before.
#pragma once

namespace desktop {

// Installs the forgiving handler in front of the one in place; once is enough. Called
// before SDL starts: SDL's own handler passes what it does not take to the one it found.
void ForgiveLateWakeups();

}  // namespace desktop
