// The session: this process's lock and window list in a folder shared with other
// handsets of the same user, and the requests they leave for each other.
#include "platform/session/session.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <windows.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/kernel/wide_text.h"
#include "platform/session/session_files.h"
#include "platform/session/session_signals.h"
#include "platform/window/window_names.h"
#include "platform/window/window_state.h"

namespace handset {

// How long a start waits for another's to publish its window before it gives up loudly.
constexpr int kStartLockMilliseconds = 5000;

struct SessionState {
  std::filesystem::path shown;  // for messages
  std::string folderName;
  Descriptor root;
  Descriptor folder;  // its flock is the session's start lock
  Descriptor lock;
  pid_t pid = 0;
  bool starting = false;  // holds the start lock until it publishes or goes idle
  SessionState() = default;
  SessionState(const SessionState&) = delete;
  SessionState& operator=(const SessionState&) = delete;
  // A process that leaves takes its files along, and the folder when it was the last. A
  // forked child's copy only closes its descriptors.
  ~SessionState() {
    StopCleaningUp();
    if (!lock.Valid() || pid != getpid()) {
      return;
    }
    RemoveOwnedFile(folder.Get(), WindowsName(pid));
    RemoveOwnedFile(folder.Get(), RequestsName(pid));
    RemoveOwnedFile(folder.Get(), LockName(pid));
    unlinkat(root.Get(), folderName.c_str(), AT_REMOVEDIR);  // fails while others are in it
  }
};

namespace {

SessionState* Session() { return TheHandset().session.get(); }

// Another process's window, as FindWindowW hands it out.
class SessionWindow : public Object {
 public:
  pid_t pid = 0;
  std::uintptr_t handle = 0;
};

// Letters, digits and ._- stay; everything else becomes '_', so any name is a folder.
std::string FolderName(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    out += plain ? c : '_';
  }
  if (out.empty() || out[0] == '.') {
    out.insert(out.begin(), '_');
  }
  return out;
}

bool Matches(LPCWSTR wanted, const std::u16string& actual) {
  return wanted == nullptr || FoldCase(wanted) == FoldCase(actual);
}

void ReleaseStartLock(SessionState& session) {
  if (session.starting) {
    session.starting = false;
    flock(session.folder.Get(), LOCK_UN);
  }
}

// The pid a `<pid>.lock` name is for, or 0.
pid_t PidOfLock(const std::string& name) {
  const std::size_t dot = name.find('.');
  if (dot == 0 || dot == std::string::npos || name.substr(dot) != ".lock") {
    return 0;
  }
  char* end = nullptr;
  const long pid = std::strtol(name.c_str(), &end, 10);
  return end == name.c_str() + dot && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

std::vector<std::string> Names(int folder) {
  std::vector<std::string> names;
  const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = listing < 0 ? nullptr : fdopendir(listing);
  if (dir == nullptr) {
    if (listing >= 0) {
      close(listing);
    }
    return names;
  }
  while (const dirent* entry = readdir(dir)) {
    names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return names;
}

// What a process that died without leaving (SIGKILL) left behind, its lock last.
void ClearLeftovers(int folder, const std::vector<std::string>& names, pid_t pid) {
  const std::string prefix = std::to_string(pid) + ".";
  for (const std::string& name : names) {
    if (name.starts_with(prefix) && name != LockName(pid)) {
      RemoveOwnedFile(folder, name);
    }
  }
  RemoveOwnedFile(folder, LockName(pid));
}

// One try at joining in the folder `open` gives; false with `error` empty when the
// session's folder went away under us.
template <typename OpenRoot>
bool TryJoin(const std::filesystem::path& root, const OpenRoot& open, const std::string& name, SessionState& state,
             std::string& error) {
  state.root = open(error);
  if (!state.root.Valid()) {
    return false;
  }
  state.shown = root / name;
  state.folderName = name;
  state.folder = OpenPrivateFolder(state.root.Get(), state.shown, name, error);
  if (!state.folder.Valid()) {
    return false;
  }
  // Under the start lock, so no one clears a lock file between its making and its locking.
  if (!LockWithin(state.folder.Get(), kStartLockMilliseconds)) {
    error = "cannot use the session folder " + state.shown.string() + ": another process kept it locked";
    return false;
  }
  state.pid = getpid();
  // Whatever carries this pid's names is left from an earlier process: it is not ours.
  RemoveOwnedFile(state.folder.Get(), WindowsName(state.pid));
  RemoveOwnedFile(state.folder.Get(), RequestsName(state.pid));
  state.lock = TakeLock(state.folder.Get(), state.pid);
  const int failure = errno;
  flock(state.folder.Get(), LOCK_UN);
  if (!state.lock.Valid()) {
    if (failure != ENOENT) {
      error = "cannot lock " + (state.shown / LockName(state.pid)).string() + ": " +
              (failure == EPERM || failure == ELOOP ? "it is not a file of this user" : std::strerror(failure));
    }
    return false;
  }
  return true;
}

// A request exactly as ForegroundSessionWindow writes it. Another process wrote the file,
// so a number too long for a handle, or anything after the flag, makes it no request.
bool ReadForegroundRequest(std::string_view line, std::uintptr_t& handle, bool& withOwned) {
  constexpr std::string_view kVerb = "foreground ";
  if (!line.starts_with(kVerb)) {
    return false;
  }
  const char* const end = line.data() + line.size();
  const auto [space, handleFault] = std::from_chars(line.data() + kVerb.size(), end, handle, 16);
  if (handleFault != std::errc{} || space == end || *space != ' ') {
    return false;
  }
  int flag = 0;
  const auto [last, flagFault] = std::from_chars(space + 1, end, flag);
  if (flagFault != std::errc{} || last != end) {
    return false;
  }
  withOwned = flag != 0;
  return true;
}

// The folder the program's copies meet in, named `suffix` after the program.
std::filesystem::path ProgramFolder(const std::filesystem::path& base, const std::string& suffix) {
  // No program yet: the handset's.
  const std::optional<std::string> program = Utf8FromWide(TheHandset().program);
  const std::string prefix = program && !program->empty() ? FolderName(*program) : std::string("handset");
  return base / (prefix + suffix);
}

// Joins in `root`, again when the session's folder vanished as its last process left.
template <typename OpenRoot>
bool JoinIn(const std::filesystem::path& root, const OpenRoot& open, const std::string& name, std::string& error) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto state = std::make_shared<SessionState>();
    error.clear();
    if (TryJoin(root, open, name, *state, error)) {
      CleanUpOnSignals(state->root.Get(), state->folder.Get(), state->folderName.c_str(), state->pid);
      TheHandset().session = std::move(state);
      Windows().session = {PublishWindows, FindSessionWindow, ForegroundSessionWindow};
      PublishWindows();
      return true;
    }
    if (!error.empty()) {
      return false;
    }
  }
  error = "cannot use the session folder " + (root / name).string() + ": it keeps vanishing";
  return false;
}

}  // namespace

std::filesystem::path SessionRoot() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path base =
      runtime != nullptr && runtime[0] == '/' ? std::filesystem::path(runtime) : std::filesystem::temp_directory_path();
  return ProgramFolder(base, "-" + std::to_string(getuid()));
}

std::filesystem::path FallbackSessionRoot() {
  std::filesystem::path cache;
  if (const char* chosen = std::getenv("XDG_CACHE_HOME"); chosen != nullptr && chosen[0] == '/') {
    cache = chosen;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    cache = std::filesystem::path(home) / ".cache";
  } else {
    return {};
  }
  return ProgramFolder(cache.lexically_normal(), "-sessions");
}

Joined JoinSession(const std::string& name, std::string& notice) {
  notice.clear();
  const std::string folder = FolderName(name);
  const std::filesystem::path shared = SessionRoot();
  const auto openShared = [&](std::string& error) { return OpenPrivateFolder(shared, error); };
  std::string refused;
  if (JoinIn(shared, openShared, folder, refused)) {
    return Joined::Shared;
  }
  const std::filesystem::path own = FallbackSessionRoot();
  std::string alsoRefused = "no cache folder: neither XDG_CACHE_HOME nor HOME is an absolute path";
  // The cache folder itself is the user's, kept as it is; only what is made in it is 0700.
  const auto openOwn = [&](std::string& error) {
    const Descriptor cache = OpenCacheFolder(own.parent_path(), error);
    return cache.Valid() ? OpenPrivateFolder(cache.Get(), own, own.filename().string(), error) : Descriptor();
  };
  if (!own.empty() && JoinIn(own, openOwn, folder, alsoRefused)) {
    notice = refused + "; using " + (own / folder).string() + " instead";
    return Joined::Fallback;
  }
  notice = refused + "; and " + alsoRefused + "; going on without a session: no other copy is looked for";
  return Joined::Alone;
}

void PublishWindows() {
  SessionState* session = Session();
  if (session == nullptr) {
    return;
  }
  std::vector<PublishedWindow> published;
  for (const HWND handle : Windows().stack) {
    const auto window = WindowOf(handle);
    if (window && window->kind == Window::Kind::Program && !window->destroying && window->windowClass) {
      published.push_back({reinterpret_cast<std::uintptr_t>(handle), window->windowClass->name, window->title});
    }
  }
  WriteWhole(session->folder.Get(), WindowsName(session->pid), EncodeWindows(published));
  // Published: a copy that starts now sees this window.
  ReleaseStartLock(*session);
}

HWND FindSessionWindow(LPCWSTR className, LPCWSTR title) {
  SessionState* session = Session();
  if (session == nullptr) {
    return nullptr;
  }
  // Looking and then showing a window must be one step: a copy that finds nothing keeps
  // the start lock until its own window is published, so a second copy waits to see it.
  if (!session->starting) {
    if (!LockWithin(session->folder.Get(), kStartLockMilliseconds)) {
      (void)std::fprintf(stderr, "the session %s stayed locked for %d ms; going on without looking\n",
                         session->shown.c_str(), kStartLockMilliseconds);
      SetLastError(ERROR_TIMEOUT);
      return nullptr;
    }
    session->starting = true;
  }
  const int folder = session->folder.Get();
  const std::vector<std::string> names = Names(folder);
  for (const std::string& name : names) {
    const pid_t pid = PidOfLock(name);
    if (pid == 0 || pid == session->pid) {
      continue;
    }
    const LockState lock = LockOf(folder, name);
    if (lock == LockState::Free) {
      ClearLeftovers(folder, names, pid);
      continue;
    }
    if (lock == LockState::NotALock) {
      continue;  // not a file of this user's processes
    }
    const auto text = ReadWhole(folder, WindowsName(pid), kWindowsLimit);
    for (const PublishedWindow& window : DecodeWindows(text.value_or(""))) {
      if (Matches(className, window.className) && Matches(title, window.title)) {
        ReleaseStartLock(*session);
        auto remote = std::make_shared<SessionWindow>();
        remote->pid = pid;
        remote->handle = window.handle;
        return static_cast<HWND>(TheHandset().objects.Add(std::move(remote)));
      }
    }
  }
  return nullptr;
}

bool ForegroundSessionWindow(HWND handle, bool withOwned) {
  SessionState* session = Session();
  const auto remote = TheHandset().objects.Find<SessionWindow>(handle);
  if (session == nullptr || !remote) {
    return false;
  }
  char line[64];
  (void)std::snprintf(line, sizeof line, "foreground %jx %d", static_cast<std::uintmax_t>(remote->handle),
                      withOwned ? 1 : 0);
  if (!AppendRequest(session->folder.Get(), RequestsName(remote->pid), line)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

int ServeSessionRequests() {
  SessionState* session = Session();
  if (session == nullptr) {
    return 0;
  }
  ReleaseStartLock(*session);  // idle: whatever it meant to show is shown
  int served = 0;
  for (const std::string& line : TakeRequests(session->folder.Get(), RequestsName(session->pid))) {
    std::uintptr_t handle = 0;
    bool withOwned = false;
    if (ReadForegroundRequest(line, handle, withOwned) && handle != 0 && WindowOf(reinterpret_cast<HWND>(handle))) {
      SetForegroundWindow(reinterpret_cast<HWND>(handle | (withOwned ? 1U : 0U)));
      ++served;
    }
  }
  return served;
}

}  // namespace handset
