// The one piece of session state outside the handset's record: a signal handler can
// reach nothing else safely, so what it needs is kept here in fixed storage.
#include "platform/session/session_signals.h"

#include <fcntl.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): sigaction is POSIX, not in <csignal>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace handset {

namespace {

struct Cleanup {
  std::atomic<int> root{-1};
  std::atomic<int> folder{-1};
  std::atomic<pid_t> pid{0};
  char folderName[256] = {};
  char names[3][32] = {};
};

Cleanup& Saved() {
  static Cleanup cleanup;
  return cleanup;
}

extern "C" void RemoveAndDie(int signal) {
  Cleanup& saved = Saved();
  const int folder = saved.folder.load();
  // A forked child that never joined must not take its parent's files.
  if (folder >= 0 && saved.pid.load() == getpid()) {
    for (const char* name : saved.names) {
      unlinkat(folder, name, 0);
    }
    unlinkat(saved.root.load(), saved.folderName, AT_REMOVEDIR);  // fails while others are in it
  }
  (void)::signal(signal, SIG_DFL);
  (void)raise(signal);
}

}  // namespace

void CleanUpOnSignals(int root, int folder, const char* folderName, pid_t pid) {
  Cleanup& saved = Saved();
  StopCleaningUp();
  // A name cut short could be somebody else's folder: better to leave ours behind.
  const int length = std::snprintf(saved.folderName, sizeof saved.folderName, "%s", folderName);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof saved.folderName) {
    saved.folderName[0] = '\0';
  }
  (void)std::snprintf(saved.names[0], sizeof saved.names[0], "%d.windows", static_cast<int>(pid));
  (void)std::snprintf(saved.names[1], sizeof saved.names[1], "%d.requests", static_cast<int>(pid));
  (void)std::snprintf(saved.names[2], sizeof saved.names[2], "%d.lock", static_cast<int>(pid));
  saved.root = root;
  saved.pid = pid;
  saved.folder = folder;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0) {
      continue;
    }
    if (current.sa_handler != SIG_DFL && current.sa_handler != RemoveAndDie) {
      continue;  // the host's own: it ends in order
    }
    struct sigaction action {};
    action.sa_handler = RemoveAndDie;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

void StopCleaningUp() {
  Cleanup& saved = Saved();
  saved.folder = -1;
  saved.root = -1;
  saved.pid = 0;
}

}  // namespace handset
