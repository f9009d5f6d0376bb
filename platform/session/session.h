// Handsets of one user that share a session (a display, or a name a headless run is
// given) see each other's top-level windows: FindWindowW finds a window of another
// process, and SetForegroundWindow on it asks that process to bring it forward.
#pragma once

#include <windef.h>

#include <filesystem>
#include <string>

namespace handset {

// Where a process ended up: the folder every copy shares, a folder of the user's own
// when that one could not be used, or no session at all.
enum class Joined { Shared, Fallback, Alone };

// Joins session `name` (any text; it is reduced to a safe folder name) in SessionRoot().
// Another local user can make that folder first, in /tmp, to keep the program from
// starting; so when it cannot be used the session is joined in FallbackSessionRoot()
// instead, and when neither can, the handset goes on alone: FindWindowW finds no other
// process. Every copy of one user falls back alike, so they still meet. Anything but
// Shared comes with `notice`, one line saying what was wrong and where the session went.
Joined JoinSession(const std::string& name, std::string& notice);
// Where sessions keep their files: $XDG_RUNTIME_DIR, else the temporary folder.
std::filesystem::path SessionRoot();
// Where they keep them when that cannot be used: in the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache), which no other user can make first. Empty when
// neither is an absolute path.
std::filesystem::path FallbackSessionRoot();

// Rewrites this process's list of windows. Joining links the window calls to these three.
void PublishWindows();

// A window of another live process in the session with both names (null matches any),
// as a handle of this handset that SetForegroundWindow takes; null when there is none.
HWND FindSessionWindow(LPCWSTR className, LPCWSTR title);

// For a handle FindSessionWindow gave: asks the owning process to bring the window
// forward (with its owned boxes when `withOwned`). False for other handles.
bool ForegroundSessionWindow(HWND handle, bool withOwned);

// Carries out what other processes asked of this one; hosts call it while idle. Returns
// how many windows it brought forward.
int ServeSessionRequests();

}  // namespace handset
