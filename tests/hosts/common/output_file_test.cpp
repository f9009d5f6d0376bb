// What another local user can plant where a trace or a recording is written: a link in a
// shared sticky folder, a FIFO. Each planted thing is refused at once in one line, or,
// when the kernel's own rule would follow it, written through.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>

#include "output_file.h"
#include "support/headless_runs.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kIntruder = 4242;
constexpr uid_t kNeighbour = 4243;

// Far more than a pipe holds: a reader that is slow to start must be waited for.
const std::string kText = [] {
  std::string text;
  while (text.size() < 256 * 1024) {
    text += "{\"ev\":\"tick\",\"n\":" + std::to_string(text.size()) + "}\n";
  }
  return text;
}();

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Reset(); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    fd_ = fd;
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

// The folders of one case: `shared` is sticky and writable by all, as /tmp is, and
// belongs to whoever runs the test; `neighbours` is alike but belongs to another user;
// `own` is a plain folder of the user's; `elsewhere` holds what a link may lead to.
struct Folders {
  fs::path shared, neighbours, own, elsewhere;
};

// A FIFO the test reads: its read end, and a write end held until the writer is on its
// way, so the reader waits for the writer's end instead of seeing none yet.
struct Reader {
  Fd read, hold;
};

// The case's name; whether it plants things of other users (root only); `plant`, which
// gives the path the user names and may open a reader on a FIFO; the refusal expected
// ("" for a file written); and where the text must then be found ("" for the reader's).
using Plant = std::function<fs::path(const Folders&, Reader&)>;
using Case = std::tuple<const char*, bool, Plant, std::function<std::string(const Folders&)>,
                        std::function<fs::path(const Folders&)>>;

void Own(const fs::path& path, uid_t user) {
  if (::lchown(path.c_str(), user, user) != 0) {
    ADD_FAILURE() << "lchown " << path;
  }
}

fs::path LinkOf(uid_t user, const fs::path& target, const fs::path& link) {
  fs::create_symlink(target, link);
  Own(link, user);
  return link;
}

fs::path Fifo(const fs::path& path, uid_t user) {
  EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0);
  Own(path, user);
  return path;
}

fs::path Read(const fs::path& fifo, Reader& reader) {
  reader.read.Reset(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  reader.hold.Reset(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  const int flags = ::fcntl(reader.read.Get(), F_GETFL);
  EXPECT_EQ(::fcntl(reader.read.Get(), F_SETFL, flags & ~O_NONBLOCK), 0);
  return fifo;
}

std::string Refused(const fs::path& file, const std::string& why) {
  return file.string() + ": cannot write the trace: " + why;
}

std::string LinkRefused(const fs::path& file, const fs::path& link) {
  return Refused(file, "the link " + link.string() + " in the shared folder " + link.parent_path().string() +
                           " belongs to another user (uid " + std::to_string(kIntruder) + ")");
}

fs::path Nowhere(const Folders&) { return {}; }
fs::path Real(const Folders& f) { return f.elsewhere / "real.jsonl"; }

const Case kCases[] = {
    {"AnotherUsersLinkIsRefused", true,
     [](const Folders& f, Reader&) { return LinkOf(kIntruder, f.elsewhere / "victim", f.shared / "t.jsonl"); },
     [](const Folders& f) { return LinkRefused(f.shared / "t.jsonl", f.shared / "t.jsonl"); }, Nowhere},
    {"AnotherUsersLinkToNothingYetIsRefused", true,
     [](const Folders& f, Reader&) { return LinkOf(kIntruder, Real(f), f.shared / "t.jsonl"); },
     [](const Folders& f) { return LinkRefused(f.shared / "t.jsonl", f.shared / "t.jsonl"); }, Nowhere},
    {"AnotherUsersLinkToAFolderIsRefused", true,
     [](const Folders& f, Reader&) { return LinkOf(kIntruder, f.elsewhere, f.shared / "d") / "t.jsonl"; },
     [](const Folders& f) { return LinkRefused(f.shared / "d" / "t.jsonl", f.shared / "d"); }, Nowhere},
    {"AnotherUsersLinkFurtherOnIsRefused", true,
     [](const Folders& f, Reader&) {
       LinkOf(kIntruder, f.elsewhere / "victim", f.shared / "t.jsonl");
       fs::create_symlink(f.shared / "t.jsonl", f.own / "t.jsonl");
       return f.own / "t.jsonl";
     },
     [](const Folders& f) { return LinkRefused(f.own / "t.jsonl", f.shared / "t.jsonl"); }, Nowhere},
    {"TheFolderOwnersLinkIsFollowed", true,
     [](const Folders& f, Reader&) { return LinkOf(kNeighbour, Real(f), f.neighbours / "t.jsonl"); },
     [](const Folders&) { return ""; }, Real},
    {"AnotherUsersLinkOutsideASharedFolderIsFollowed", true,
     [](const Folders& f, Reader&) { return LinkOf(kIntruder, Real(f), f.own / "t.jsonl"); },
     [](const Folders&) { return ""; }, Real},
    {"TheUsersLinkIsFollowed", false,
     [](const Folders& f, Reader&) { return LinkOf(::geteuid(), Real(f), f.neighbours / "t.jsonl"); },
     [](const Folders&) { return ""; }, Real},
    {"AnotherUsersFifoIsRefused", true,
     [](const Folders& f, Reader& r) { return Read(Fifo(f.shared / "t.jsonl", kIntruder), r); },
     [](const Folders& f) {
       return Refused(f.shared / "t.jsonl", "it is a FIFO of another user (uid " + std::to_string(kIntruder) + ")");
     },
     Nowhere},
    {"AFifoNothingReadsIsRefusedAtOnce", false,
     [](const Folders& f, Reader&) { return Fifo(f.shared / "t.jsonl", ::geteuid()); },
     [](const Folders& f) { return Refused(f.shared / "t.jsonl", "it is a FIFO that nothing reads"); }, Nowhere},
    {"TheUsersFifoIsWrittenWithASlowReader", false,
     [](const Folders& f, Reader& r) { return Read(Fifo(f.shared / "t.jsonl", ::geteuid()), r); },
     [](const Folders&) { return ""; }, Nowhere},
};

// Writes kText as `file` in a child, so a hang costs ten seconds, not the suite: the
// error, "" when written, "hung" when it did not end. The reader's text, read only once
// the writer is well on its way, goes into `read`.
std::string WriteInChild(const fs::path& file, Reader& reader, std::string& read) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) {
    return "no pipe";
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(10);
    kit::OutputFile out;
    std::string error;
    const bool written = out.Open(file, "the trace", error) && out.Write(kText, error) && out.Commit(error);
    const std::string said = written ? "" : error;
    (void)!::write(pipe[1], said.data(), said.size());
    ::_exit(0);
  }
  ::close(pipe[1]);
  reader.hold.Reset();
  if (reader.read.Get() >= 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    char buffer[8192];
    for (ssize_t got = 0; (got = ::read(reader.read.Get(), buffer, sizeof buffer)) > 0;) {
      read.append(buffer, static_cast<std::size_t>(got));
    }
  }
  std::string said;
  char buffer[1024];
  for (ssize_t got = 0; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
    said.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? said : "hung";
}

class Planted : public ::testing::TestWithParam<Case> {};

TEST_P(Planted, IsRefusedInOneLineOrWrittenAsTheKernelWouldFollowIt) {
  const auto& [name, needsRoot, plant, refusal, lands] = GetParam();
  if (needsRoot && ::geteuid() != 0) {
    GTEST_SKIP() << "planting links and FIFOs of other users takes root (chown)";
  }
  std::string pattern = (fs::temp_directory_path() / "output-file-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path base = fs::canonical(pattern);
  const Folders folders{base / "shared", base / "neighbours", base / "own", base / "elsewhere"};
  for (const fs::path& folder : {folders.shared, folders.neighbours, folders.own, folders.elsewhere}) {
    fs::create_directory(folder);
  }
  ::chmod(folders.shared.c_str(), 01777);
  ::chmod(folders.neighbours.c_str(), 01777);
  if (::geteuid() == 0) {
    Own(folders.neighbours, kNeighbour);
  }
  std::ofstream(folders.elsewhere / "victim") << "precious";

  Reader reader;
  const fs::path file = plant(folders, reader);
  std::string read;
  const auto started = std::chrono::steady_clock::now();
  const std::string said = WriteInChild(file, reader, read);
  EXPECT_EQ(said, refusal(folders));
  if (!said.empty()) {
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "refused, but not at once";
  }
  EXPECT_EQ(testsupport::Read(folders.elsewhere / "victim"), "precious");
  // Compared whole, but told by size: the text is far too long to print.
  if (const fs::path landed = lands(folders); !landed.empty()) {
    const std::string text = testsupport::Read(landed);
    EXPECT_TRUE(text == kText) << landed << " holds " << text.size() << " bytes, not the " << kText.size()
                               << " written";
  } else if (reader.read.Get() >= 0) {
    const std::string& wanted = said.empty() ? kText : std::string();
    EXPECT_TRUE(read == wanted) << "the reader got " << read.size() << " bytes, not " << wanted.size();
  } else {
    EXPECT_FALSE(fs::exists(Real(folders)));
  }
  // Nothing was left beside what was planted: no temporary, no file made through a link.
  for (const fs::path& folder : {folders.shared, folders.neighbours, folders.own}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
  }
  fs::remove_all(base);
}

INSTANTIATE_TEST_SUITE_P(OutputFile, Planted, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(std::get<0>(test.param)); });

}  // namespace
