// The session: this process's lock and window list in a folder shared with other
// handsets of the same user, and the requests they leave for each other.
#include "session/session.h"

#include <unistd.h>

#include <windows.h>

#include <cstdlib>
#include <memory>

#include "handset/handset.h"
#include "session/session_files.h"
#include "window/window_names.h"
#include "window/window_state.h"

namespace handset {

struct SessionState {
  std::filesystem::path folder;
  FileLock lock;
  SessionState() = default;
  SessionState(const SessionState&) = delete;
  SessionState& operator=(const SessionState&) = delete;
  // A process that leaves takes its files along, and the folder when it was the last.
  ~SessionState() {
    if (!lock.Held()) {
      return;
    }
    std::error_code ignored;
    std::filesystem::remove(WindowsFile(folder, getpid()), ignored);
    std::filesystem::remove(RequestsFile(folder, getpid()), ignored);
    std::filesystem::remove(LockFile(folder, getpid()), ignored);
    std::filesystem::remove(folder, ignored);  // fails while others are in it
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

}  // namespace

std::filesystem::path SessionRoot() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path base =
      runtime != nullptr && runtime[0] == '/' ? std::filesystem::path(runtime) : std::filesystem::temp_directory_path();
  return base / ("vireta-" + std::to_string(getuid()));
}

bool JoinSession(const std::string& name, std::string& error) {
  const std::filesystem::path folder = SessionRoot() / FolderName(name);
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (failure) {
    error = "cannot use the session folder " + folder.string() + ": " + failure.message();
    return false;
  }
  std::filesystem::permissions(SessionRoot(), std::filesystem::perms::owner_all, failure);
  auto state = std::make_shared<SessionState>();
  state->folder = folder;
  state->lock = TakeLock(LockFile(folder, getpid()));
  if (!state->lock.Held()) {
    error = "cannot lock a file in the session folder " + folder.string();
    return false;
  }
  TheHandset().session = std::move(state);
  PublishWindows();
  return true;
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
  WriteWhole(WindowsFile(session->folder, getpid()), EncodeWindows(published));
}

HWND FindSessionWindow(LPCWSTR className, LPCWSTR title) {
  SessionState* session = Session();
  if (session == nullptr) {
    return nullptr;
  }
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(session->folder, failure)) {
    const std::filesystem::path file = entry.path();
    if (file.extension() != ".lock") {
      continue;
    }
    char* end = nullptr;
    const std::string stem = file.stem().string();
    const long pid = std::strtol(stem.c_str(), &end, 10);
    if (stem.empty() || *end != '\0' || pid <= 0 || pid == getpid()) {
      continue;
    }
    if (!LockHeld(file)) {
      // Its process has gone: clear what it left behind.
      std::filesystem::remove(WindowsFile(session->folder, static_cast<pid_t>(pid)), failure);
      std::filesystem::remove(RequestsFile(session->folder, static_cast<pid_t>(pid)), failure);
      std::filesystem::remove(file, failure);
      continue;
    }
    const auto text = ReadWhole(WindowsFile(session->folder, static_cast<pid_t>(pid)));
    for (const PublishedWindow& window : DecodeWindows(text.value_or(""))) {
      if (Matches(className, window.className) && Matches(title, window.title)) {
        auto remote = std::make_shared<SessionWindow>();
        remote->pid = static_cast<pid_t>(pid);
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
  std::snprintf(line, sizeof line, "foreground %jx %d", static_cast<std::uintmax_t>(remote->handle), withOwned ? 1 : 0);
  return AppendRequest(RequestsFile(session->folder, remote->pid), line);
}

int ServeSessionRequests() {
  SessionState* session = Session();
  if (session == nullptr) {
    return 0;
  }
  int served = 0;
  for (const std::string& line : TakeRequests(RequestsFile(session->folder, getpid()))) {
    std::uintmax_t handle = 0;
    int withOwned = 0;
    if (std::sscanf(line.c_str(), "foreground %jx %d", &handle, &withOwned) == 2 && handle != 0 &&
        WindowOf(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle)))) {
      SetForegroundWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle) | (withOwned != 0 ? 1U : 0U)));
      ++served;
    }
  }
  return served;
}

}  // namespace handset
