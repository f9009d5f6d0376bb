// Handsets of one user that share a session (a display, or a name a headless run is
// given) see each other's top-level windows: FindWindowW finds a window of another
// process, and SetForegroundWindow on it asks that process to bring it forward.
#pragma once

#include <windef.h>

#include <filesystem>
#include <string>

namespace handset {

// Joins session `name` (any text; it is reduced to a safe folder name). False with
// `error` set when the session's folder cannot be used.
bool JoinSession(const std::string& name, std::string& error);
// Where sessions keep their files: $XDG_RUNTIME_DIR, else the temporary folder.
std::filesystem::path SessionRoot();

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
