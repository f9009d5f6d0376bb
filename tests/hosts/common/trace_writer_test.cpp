// The trace writer: one spelling for every string and number, and whole files.
#include "trace_writer.h"
#include "support/headless_runs.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <set>

namespace {

using kit::TraceWriter;
using testsupport::Read;

TEST(TraceWriter, EscapesStringsAndTurnsUtf16IntoUtf8) {
  EXPECT_EQ(TraceWriter::Quote(std::string_view("a\"b\\c\n\t\r\x01\x1f\x7f")),
            "\"a\\\"b\\\\c\\n\\t\\r\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"\u00e9\u20ac")), "\"\xc3\xa9\xe2\x82\xac\"");
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"\U0001F600")), "\"\xf0\x9f\x98\x80\"");
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"x\xD800y")), "\"x\xef\xbf\xbdy\"");  // a lone surrogate
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"a\0b", 3)), "\"a\\u0000b\"");
}

TEST(TraceWriter, FieldsInOrderWithExactNumbers) {
  TraceWriter trace;
  trace.Begin("tick")
      .Field("ms", std::int64_t{-9007199254740993})
      .Field("x", 0.1)
      .Field("nan", std::numeric_limits<double>::quiet_NaN())
      .Field("inf", -std::numeric_limits<double>::infinity())
      .Field("on", true)
      .End();
  trace.Begin("exit").Field("code", std::int64_t{7}).End();
  EXPECT_EQ(
      trace.Text(),
      "{\"ev\":\"tick\",\"ms\":-9007199254740993,\"x\":0.10000000000000001,\"nan\":null,\"inf\":null,\"on\":true}\n"
      "{\"ev\":\"exit\",\"code\":7}\n");
}

std::set<std::string> Names(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string Write(const std::filesystem::path& file) {
  TraceWriter trace;
  trace.Begin("a").Field("n", std::int64_t{1});  // left open: closed in the file
  std::string error;
  return trace.WriteTo(file, error) ? "" : error;
}

constexpr std::string_view kTrace = "{\"ev\":\"a\",\"n\":1}\n";

using TraceFile = testsupport::HeadlessRuns;

TEST_F(TraceFile, ReplacesARegularFileAndLeavesEveryNeighbourAlone) {
  std::ofstream(dir_ / "t.jsonl") << "old";
  std::ofstream(dir_ / "t.jsonl.part") << "someone's";
  std::ofstream(dir_ / "victim") << "kept";
  // Where a careless writer would put its temporary.
  std::filesystem::create_symlink(dir_ / "victim", dir_ / ".t.jsonl.part");
  const auto before = Names(dir_);
  const mode_t mask = ::umask(027);
  EXPECT_EQ(Write(dir_ / "t.jsonl"), "");
  ::umask(mask);
  EXPECT_EQ(Read(dir_ / "t.jsonl"), kTrace);
  EXPECT_EQ(Read(dir_ / "t.jsonl.part"), "someone's");
  EXPECT_EQ(Read(dir_ / "victim"), "kept");
  EXPECT_EQ(Names(dir_), before);
  // As a file the shell made would be.
  EXPECT_EQ(std::filesystem::status(dir_ / "t.jsonl").permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));
}

TEST_F(TraceFile, ALinkTheUserNamedLeadsToTheFileWritten) {
  std::filesystem::create_symlink("real.jsonl", dir_ / "link.jsonl");
  EXPECT_EQ(Write(dir_ / "link.jsonl"), "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.jsonl"));
  EXPECT_EQ(Read(dir_ / "real.jsonl"), kTrace);
  EXPECT_EQ(Names(dir_), (std::set<std::string>{"link.jsonl", "real.jsonl"}));
}

TEST_F(TraceFile, SpecialFilesAreWrittenStraightThroughAndStayWhatTheyWere) {
  EXPECT_EQ(Write("/dev/null"), "");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  const auto fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO is written only to a reader already there; the trace fits in what it holds.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(Write(fifo), "");
  std::string got(kTrace.size() + 1, '\0');
  got.resize(static_cast<std::size_t>(std::max<ssize_t>(::read(reader, got.data(), got.size()), 0)));
  ::close(reader);
  EXPECT_EQ(got, kTrace);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(Names(dir_), std::set<std::string>{"fifo"});
}

}  // namespace
