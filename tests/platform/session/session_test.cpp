// Two processes in one session: the second finds the first's window by class and title
// together and brings it forward; processes in other sessions, and windows matching only
// one of the names, are not found; what a dead process left is cleared. And what a
// hostile local user can plant in the session folders: refused or ignored, never
// followed, waited on or read whole; a shared folder that cannot be used sends the
// session to the user's cache folder, or leaves it out, and never stops the start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/handset/handset.h"
#include "platform/session/session.h"
#include "platform/session/session_files.h"
#include "support/fresh_handset.h"
#include "support/test_windows.h"

namespace {

namespace fs = std::filesystem;

HWND Window(LPCWSTR className, LPCWSTR title) { return testsupport::MakeWindow(DefWindowProcW, className, title); }

// Runs `body` in a child process with a fresh handset; its result is the exit status.
template <typename Body>
int InChild(Body body, pid_t* pid = nullptr) {
  const pid_t child = fork();
  if (pid != nullptr) {
    *pid = child;
  }
  if (child == 0) {
    handset::Reset();
    alarm(20);  // a hang is a failure, not a stuck suite
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

class Session : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    name = "session-test-" + std::to_string(getpid());
    std::string error;
    ASSERT_EQ(handset::JoinSession(name, error), handset::Joined::Shared) << error;
  }
  void TearDown() override {
    handset::Reset();
    fs::remove_all(handset::SessionRoot() / name);
  }
  std::string name;
};

TEST_F(Session, ASecondProcessFindsTheWindowByBothNamesAndBringsItForward) {
  HWND game = Window(u"VIRETA", u"Vireta");
  Window(u"VIRETA", u"Other title");
  HWND other = Window(u"OTHER", u"Vireta");
  ASSERT_EQ(GetForegroundWindow(), other);

  const std::string session = name;
  const int result = InChild([&session] {
    std::string error;
    if (handset::JoinSession(session, error) != handset::Joined::Shared) {
      return 1;
    }
    if (FindWindowW(u"VIRETA", u"Nothing") != nullptr || FindWindowW(u"NOTHING", u"Vireta") != nullptr) {
      return 2;
    }
    HWND running = FindWindowW(u"vireta", u"VIRETA");
    if (running == nullptr) {
      return 3;
    }
    return SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(running) | 1U)) ? 0 : 4;
  });
  ASSERT_EQ(result, 0);
  EXPECT_EQ(handset::ServeSessionRequests(), 1);
  EXPECT_EQ(GetForegroundWindow(), game);
  EXPECT_EQ(handset::ServeSessionRequests(), 0);  // served once

  // Another session sees nothing of this one, and its last process takes its folder along.
  EXPECT_EQ(InChild([&session] {
              std::string error;
              handset::JoinSession(session + "-elsewhere", error);
              const bool found = FindWindowW(u"VIRETA", u"Vireta") != nullptr;
              handset::Reset();
              return found || fs::exists(handset::SessionRoot() / (session + "-elsewhere")) ? 1 : 0;
            }),
            0);
}

TEST_F(Session, ADeadProcessLeavesNothingToFind) {
  const std::string session = name;
  pid_t child = 0;
  InChild(  // dies without leaving the session
      [&session] {
        std::string error;
        return handset::JoinSession(session, error) == handset::Joined::Shared && Window(u"VIRETA", u"Vireta") ? 0 : 1;
      },
      &child);
  const fs::path folder = handset::SessionRoot() / name;
  ASSERT_TRUE(fs::exists(folder / handset::WindowsName(child)));
  EXPECT_EQ(FindWindowW(u"VIRETA", u"Vireta"), nullptr);
  EXPECT_FALSE(fs::exists(folder / handset::WindowsName(child)));
  EXPECT_FALSE(fs::exists(folder / handset::LockName(child)));
}

// One attack: its name; whether it needs root, planting files of another user; the
// folders `made` already there; `plant`, which prepares the base folder standing in for
// /tmp, knowing the pid of the process that will join; and `check`, which then runs in
// that process and says what is wrong.
enum class Made { Nothing, Root, Folders };
using Base = const fs::path&;  // the folder standing in for /tmp
using Attack = std::tuple<const char*, bool, Made, std::function<void(Base base, pid_t pid)>,
                          std::function<std::string(Base base, pid_t pid)>>;

constexpr uid_t kOtherUser = 65534;
constexpr const char* kSession = "s";

fs::path Root(const fs::path& base) { return base / ("handset-" + std::to_string(getuid())); }
fs::path Folder(const fs::path& base) { return Root(base) / kSession; }

void GiveAway(const fs::path& file) {
  if (chown(file.c_str(), kOtherUser, kOtherUser) != 0) {
    std::perror(file.c_str());
  }
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Where the user's copies go when the shared folder cannot be used.
fs::path Cache(const fs::path& base) { return base / "cache"; }
fs::path Fallback(const fs::path& base) { return Cache(base) / "handset-sessions" / kSession; }

// The session joined in the fallback, with a notice that says `wanted` and where it went.
std::string MustFallBack(const fs::path& base, const std::string& wanted) {
  std::string notice;
  if (handset::JoinSession(kSession, notice) != handset::Joined::Fallback) {
    return "not joined in the fallback: " + notice;
  }
  const std::string went = "; using " + Fallback(base).string() + " instead";
  if (notice.find(wanted) == std::string::npos || !notice.ends_with(went) || notice.find('\n') != std::string::npos) {
    return "the notice does not say " + wanted + went + ": " + notice;
  }
  Window(u"VIRETA", u"Vireta");
  if (!fs::exists(Fallback(base) / handset::WindowsName(getpid()))) {
    return "published no window in the fallback";
  }
  return fs::exists(base / "created") ? "made a file through a link" : "";
}

// No session at all, with a notice that says both `shared` and `own`.
std::string MustGoAlone(const fs::path& base, const std::string& shared, const std::string& own) {
  std::string notice;
  if (handset::JoinSession(kSession, notice) != handset::Joined::Alone || handset::TheHandset().session != nullptr) {
    return "joined a session: " + notice;
  }
  const std::string alone = "; going on without a session: no other copy is looked for";
  const std::size_t second = notice.find("; and ");
  if (notice.find(shared) >= second || notice.find(own, second) == std::string::npos || !notice.ends_with(alone)) {
    return "the notice does not say " + shared + " and " + own + alone + ": " + notice;
  }
  return fs::exists(base / "created") ? "made a file through a link" : "";
}

std::string Join() {
  std::string notice;
  return handset::JoinSession(kSession, notice) == handset::Joined::Shared ? "" : "not joined: " + notice;
}

void LinkRoot(Base b) { fs::create_directory_symlink(b / "elsewhere", Root(b)); }

// Published windows of ours, whose handles a planted request may name.
std::string RequestsIgnored(Base /*base*/, pid_t /*pid*/) {
  if (std::string failed = Join(); !failed.empty()) {
    return failed;
  }
  Window(u"A", u"B");
  Window(u"C", u"D");
  return handset::ServeSessionRequests() == 0 ? "" : "served a planted request";
}

// A request for a window of ours in our own requests file, which `spoil` then changes.
std::string SpoiledRequestIgnored(const fs::path& base, pid_t pid, void (*spoil)(const fs::path&)) {
  if (std::string failed = Join(); !failed.empty()) {
    return failed;
  }
  const fs::path requests = Folder(base) / handset::RequestsName(pid);
  char line[64];
  std::snprintf(line, sizeof line, "foreground %jx 0\n",
                static_cast<std::uintmax_t>(reinterpret_cast<UINT_PTR>(Window(u"A", u"B"))));
  Write(requests, line);
  spoil(requests);
  return handset::ServeSessionRequests() == 0 ? "" : "served a spoiled request";
}

// Another process's window list, its lock held by one of us: none of it is trusted.
std::string NothingFound(Base base, pid_t pid) {
  const handset::Descriptor lock(open((Folder(base) / handset::LockName(pid + 1)).c_str(), O_RDONLY | O_CREAT, 0600));
  flock(lock.Get(), LOCK_EX);
  if (std::string failed = Join(); !failed.empty()) {
    return failed;
  }
  return FindWindowW(u"VIRETA", nullptr) == nullptr ? "" : "found a forged window";
}

void ForgedList(Base base, pid_t pid) { Write(Folder(base) / handset::WindowsName(pid + 1), "40\tVIRETA\tVireta\n"); }

const Attack kAttacks[] = {
    // The shared folder another user made first, or spoilt: the user's copies go elsewhere.
    {"RootOfAnotherUser", true, Made::Root, [](Base b, pid_t) { GiveAway(Root(b)); },
     [](Base b, pid_t) {
       return MustFallBack(
           b, "handset-" + std::to_string(getuid()) + ": it belongs to uid 65534, not " + std::to_string(geteuid()));
     }},
    {"RootOpenToAll", false, Made::Root, [](Base b, pid_t) { chmod(Root(b).c_str(), 0777); },
     [](Base b, pid_t) { return MustFallBack(b, "handset-" + std::to_string(getuid()) + ": its mode is 0777"); }},
    {"RootALink", false, Made::Nothing, [](Base b, pid_t) { LinkRoot(b); },
     [](Base b, pid_t) { return MustFallBack(b, "symbolic link"); }},
    {"FolderOfAnotherUser", true, Made::Folders, [](Base b, pid_t) { GiveAway(Folder(b)); },
     [](Base b, pid_t) { return MustFallBack(b, "/s: it belongs to uid 65534"); }},
    {"FolderALink", false, Made::Root, [](Base b, pid_t) { fs::create_directory_symlink(b / "elsewhere", Folder(b)); },
     [](Base b, pid_t) { return MustFallBack(b, "symbolic link"); }},
    {"MissingRuntimeFolder", false, Made::Nothing,
     [](Base b, pid_t) { setenv("XDG_RUNTIME_DIR", (b / "run/user").c_str(), 1); },
     [](Base b, pid_t) {
       const std::string refused = MustFallBack(b, "does not exist");
       return !refused.empty() ? refused : fs::exists(b / "run") ? "made a chain of folders" : "";
     }},
    {"LinkAtTheLock", false, Made::Folders,
     [](Base b, pid_t p) { fs::create_symlink(b / "created", Folder(b) / handset::LockName(p)); },
     [](Base b, pid_t p) { return MustFallBack(b, handset::LockName(p)); }},
    {"LockHeldElsewhere", false, Made::Folders,
     [](Base b, pid_t p) { flock(open((Folder(b) / handset::LockName(p)).c_str(), O_RDWR | O_CREAT, 0600), LOCK_EX); },
     [](Base b, pid_t p) { return MustFallBack(b, handset::LockName(p) + ": " + std::strerror(EWOULDBLOCK)); }},
    // A cache folder others may read is the user's as usual.
    {"CacheOthersMayRead", false, Made::Nothing,
     [](Base b, pid_t) {
       LinkRoot(b);
       mkdir(Cache(b).c_str(), 0755);
       chmod(Cache(b).c_str(), 0755);
     },
     [](Base b, pid_t) { return MustFallBack(b, "symbolic link"); }},
    // Neither folder can be used: the program still starts, alone.
    {"CacheALinkToo", false, Made::Nothing,
     [](Base b, pid_t) {
       LinkRoot(b);
       fs::create_directory_symlink(b / "elsewhere", Cache(b));
     },
     [](Base b, pid_t) {
       return MustGoAlone(b, "symbolic link",
                          "cannot use the cache folder " + Cache(b).string() + ": it is a symbolic link");
     }},
    {"CacheOpenToAll", false, Made::Nothing,
     [](Base b, pid_t) {
       LinkRoot(b);
       mkdir(Cache(b).c_str(), 0700);
       chmod(Cache(b).c_str(), 0777);
     },
     [](Base b, pid_t) {
       return MustGoAlone(b, "symbolic link", Cache(b).string() + ": its mode is 0777, which lets others write in it");
     }},
    {"CacheOfAnotherUser", true, Made::Root,
     [](Base b, pid_t) {
       GiveAway(Root(b));
       mkdir(Cache(b).c_str(), 0700);
       GiveAway(Cache(b));
     },
     [](Base b, pid_t) {
       return MustGoAlone(b, "belongs to uid 65534", Cache(b).string() + ": it belongs to uid 65534");
     }},
    {"FallbackALink", false, Made::Nothing,
     [](Base b, pid_t) {
       LinkRoot(b);
       mkdir(Cache(b).c_str(), 0700);
       fs::create_directory_symlink(b / "elsewhere", Fallback(b).parent_path());
     },
     [](Base b, pid_t) {
       return MustGoAlone(b, "symbolic link", Fallback(b).parent_path().string() + ": it is a symbolic link");
     }},
    {"NoCacheFolder", false, Made::Nothing,
     [](Base b, pid_t) {
       LinkRoot(b);
       unsetenv("XDG_CACHE_HOME");
       unsetenv("HOME");
     },
     [](Base b, pid_t) {
       return MustGoAlone(b, "symbolic link", "no cache folder: neither XDG_CACHE_HOME nor HOME is an absolute path");
     }},
    {"LinksAtTheWindowList", false, Made::Folders,
     [](Base b, pid_t p) {
       fs::create_symlink(b / "victim", Folder(b) / (handset::WindowsName(p) + ".tmp"));
       fs::create_symlink(b / "victim", Folder(b) / handset::WindowsName(p));
     },
     [](Base, pid_t) {
       const std::string failed = Join();
       Window(u"VIRETA", u"Vireta");
       return failed;
     }},
    {"LinkAtTheRequests", false, Made::Folders,
     [](Base b, pid_t p) { fs::create_symlink(b / "victim", Folder(b) / handset::RequestsName(p)); },
     [](Base b, pid_t p) {
       if (std::string failed = RequestsIgnored(b, p); !failed.empty()) {
         return failed;
       }
       std::string error;
       const handset::Descriptor root = handset::OpenPrivateFolder(Root(b), error);
       const handset::Descriptor folder = handset::OpenPrivateFolder(root.Get(), Folder(b), kSession, error);
       return handset::AppendRequest(folder.Get(), handset::RequestsName(p), "foreground 4 0")
                  ? std::string("appended through a link")
                  : std::string();
     }},
    {"FifoAsAnotherLock", false, Made::Folders,
     [](Base b, pid_t p) { mkfifo((Folder(b) / handset::LockName(p + 2)).c_str(), 0600); }, NothingFound},
    {"FifoAsOurRequests", false, Made::Folders,
     [](Base b, pid_t p) { mkfifo((Folder(b) / handset::RequestsName(p)).c_str(), 0600); }, RequestsIgnored},
    {"HugeSparseRequests", false, Made::Folders, nullptr,
     [](Base b, pid_t p) {
       const std::string failed = SpoiledRequestIgnored(
           b, p, [](const fs::path& requests) { fs::resize_file(requests, std::uintmax_t{1} << 30); });
       return !failed.empty()                                            ? failed
              : fs::file_size(Folder(b) / handset::RequestsName(p)) != 0 ? "left the oversized file as it was"
                                                                         : "";
     }},
    {"RequestsOfAnotherUser", true, Made::Folders, nullptr,
     [](Base b, pid_t p) { return SpoiledRequestIgnored(b, p, GiveAway); }},
    // Only the list's owner gives it away, or the owner of its lock.
    {"WindowListOfAnotherUser", true, Made::Folders,
     [](Base b, pid_t p) {
       ForgedList(b, p);
       GiveAway(Folder(b) / handset::WindowsName(p + 1));
     },
     NothingFound},
    {"LockOfAnotherUser", true, Made::Folders,
     [](Base b, pid_t p) {
       ForgedList(b, p);
       Write(Folder(b) / handset::LockName(p + 1), "");
       GiveAway(Folder(b) / handset::LockName(p + 1));
     },
     NothingFound},
};

class Attacks : public ::testing::TestWithParam<Attack> {};

TEST_P(Attacks, AreRefusedOrIgnoredAndTouchNothingOutside) {
  const auto& [name, needsRoot, made, plant, check] = GetParam();
  if (needsRoot && geteuid() != 0) {
    GTEST_SKIP() << "planting files of another user needs root";
  }
  std::string pattern = (fs::temp_directory_path() / "session-attack-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path base = pattern;
  Write(base / "victim", "precious");
  fs::create_directory(base / "elsewhere");
  chmod((base / "elsewhere").c_str(), 0755);

  const int result = InChild([&] {
    setenv("TMPDIR", base.c_str(), 1);
    setenv("XDG_CACHE_HOME", Cache(base).c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    if (made != Made::Nothing) {
      mkdir(Root(base).c_str(), 0700);
    }
    if (made == Made::Folders) {
      mkdir(Folder(base).c_str(), 0700);
    }
    if (plant) {
      plant(base, getpid());
    }
    const std::string failed = check(base, getpid());
    if (!failed.empty()) {
      std::fprintf(stderr, "%s\n", failed.c_str());
    }
    return failed.empty() ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  std::ifstream victim(base / "victim");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "precious");
  EXPECT_EQ(fs::status(base / "elsewhere").permissions(), static_cast<fs::perms>(0755));
  EXPECT_TRUE(fs::is_empty(base / "elsewhere"));
  EXPECT_FALSE(fs::exists(base / "created"));
  fs::remove_all(base);
}

INSTANTIATE_TEST_SUITE_P(Session, Attacks, ::testing::ValuesIn(kAttacks),
                         [](const auto& test) { return std::string(std::get<0>(test.param)); });

// Another user made the shared folder first (or left a link in its place): each copy of
// this user goes to the same folder of its own, and a second copy still finds the first.
TEST(SquattedSession, CopiesStillMeetInTheFallback) {
  const std::pair<const char*, std::function<void(Base)>> squats[] = {
      {"a link", LinkRoot},
      {"another user's folder",
       [](Base b) {
         mkdir(Root(b).c_str(), 0700);
         GiveAway(Root(b));
       }},
  };
  for (const auto& [squat, plant] : squats) {
    if (geteuid() != 0 && std::string_view(squat) == "another user's folder") {
      std::printf("not as root: the shared folder is not given to another user\n");
      continue;
    }
    std::string pattern = (fs::temp_directory_path() / "session-squat-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path base = pattern;
    fs::create_directory(base / "elsewhere");
    const int result = InChild([&] {
      setenv("TMPDIR", base.c_str(), 1);
      setenv("XDG_CACHE_HOME", Cache(base).c_str(), 1);
      unsetenv("XDG_RUNTIME_DIR");
      plant(base);
      std::string notice;
      if (handset::JoinSession(kSession, notice) != handset::Joined::Fallback) {
        return 1;
      }
      Window(u"VIRETA", u"Vireta");
      return InChild([] {
        std::string again;
        return handset::JoinSession(kSession, again) == handset::Joined::Fallback &&
                       FindWindowW(u"VIRETA", u"Vireta") != nullptr
                   ? 0
                   : 2;
      });
    });
    EXPECT_EQ(result, 0) << squat;
    EXPECT_TRUE(fs::is_empty(base / "elsewhere")) << squat;
    fs::remove_all(base);
  }
}

TEST(SessionFiles, WindowListsRoundTripAndSkipWhatTheyCannotRead) {
  const std::vector<handset::PublishedWindow> windows = {
      {0x10004, u"VIRETA", u"Vireta"}, {0x10008, u"Tab\there", u"Line\nand \\ back"}, {0x1000C, u"ñ €", u"😀"}};
  const auto decoded = handset::DecodeWindows(handset::EncodeWindows(windows));
  ASSERT_EQ(decoded.size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(decoded[i].handle, windows[i].handle);
    EXPECT_EQ(decoded[i].className, windows[i].className);
    EXPECT_EQ(decoded[i].title, windows[i].title);
  }
  EXPECT_TRUE(handset::DecodeWindows("zz\tA\tB\n0\tA\tB\n10\tA\n10\tA\tB\tC\n10\t\\q\tB\n10\t\xff\tB\n").empty());
  // A lone surrogate cannot be matched by anyone: it is not published.
  EXPECT_EQ(handset::EncodeWindows({{4, std::u16string(1, u'\xD800'), u"x"}}), "");
}

}  // namespace
