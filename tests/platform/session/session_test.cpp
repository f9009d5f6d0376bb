// Two processes in one session: the second finds the first's window by class and title
// together and brings it forward; processes in other sessions, and windows matching only
// one of the names, are not found; what a dead process left is cleared. And what a
// hostile local user can plant in the session folders: refused or ignored, never
// followed, waited on or read whole.
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
#include <tuple>

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
    ASSERT_TRUE(handset::JoinSession(name, error)) << error;
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
    if (!handset::JoinSession(session, error)) {
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
        return handset::JoinSession(session, error) && Window(u"VIRETA", u"Vireta") ? 0 : 1;
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

std::string MustRefuse(const fs::path& base, const std::string& wanted) {
  std::string error;
  if (handset::JoinSession(kSession, error)) {
    return "joined";
  }
  if (error.find(wanted) == std::string::npos || GetLastError() == 0) {
    return "the refusal does not say " + wanted + ": " + error;
  }
  return fs::exists(base / "created") ? "made a file through a link" : "";
}

std::string Join() {
  std::string error;
  return handset::JoinSession(kSession, error) ? "" : "refused: " + error;
}

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
    {"RootOpenToAll", false, Made::Root, [](Base b, pid_t) { chmod(Root(b).c_str(), 0777); },
     [](Base b, pid_t) { return MustRefuse(b, "handset-" + std::to_string(getuid()) + ": its mode is 0777"); }},
    {"RootALink", false, Made::Nothing, [](Base b, pid_t) { fs::create_directory_symlink(b / "elsewhere", Root(b)); },
     [](Base b, pid_t) { return MustRefuse(b, "symbolic link"); }},
    {"FolderOfAnotherUser", true, Made::Folders, [](Base b, pid_t) { GiveAway(Folder(b)); },
     [](Base b, pid_t) { return MustRefuse(b, "/s: it belongs to uid 65534"); }},
    {"FolderALink", false, Made::Root, [](Base b, pid_t) { fs::create_directory_symlink(b / "elsewhere", Folder(b)); },
     [](Base b, pid_t) { return MustRefuse(b, "symbolic link"); }},
    {"MissingRuntimeFolder", false, Made::Nothing,
     [](Base b, pid_t) { setenv("XDG_RUNTIME_DIR", (b / "run/user").c_str(), 1); },
     [](Base b, pid_t) {
       const std::string refused = MustRefuse(b, "does not exist");
       return !refused.empty() ? refused : fs::exists(b / "run") ? "made a chain of folders" : "";
     }},
    {"LinkAtTheLock", false, Made::Folders,
     [](Base b, pid_t p) { fs::create_symlink(b / "created", Folder(b) / handset::LockName(p)); },
     [](Base b, pid_t p) { return MustRefuse(b, handset::LockName(p)); }},
    {"LockHeldElsewhere", false, Made::Folders,
     [](Base b, pid_t p) { flock(open((Folder(b) / handset::LockName(p)).c_str(), O_RDWR | O_CREAT, 0600), LOCK_EX); },
     [](Base b, pid_t p) { return MustRefuse(b, handset::LockName(p) + ": " + std::strerror(EWOULDBLOCK)); }},
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
