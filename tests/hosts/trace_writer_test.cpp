// The trace writer: one spelling for every string and number, and whole files.
#include "trace_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

using headless::TraceWriter;

TEST(TraceWriter, EscapesStringsAndTurnsUtf16IntoUtf8) {
  EXPECT_EQ(TraceWriter::Quote(std::string_view("a\"b\\c\n\t\r\x01\x1f\x7f")),
            "\"a\\\"b\\\\c\\n\\t\\r\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"\u00e9\u20ac")), "\"\xc3\xa9\xe2\x82\xac\"");
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(u"\U0001F600")), "\"\xf0\x9f\x98\x80\"");
  const char16_t lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(lone)), "\"x\xef\xbf\xbdy\"");
  const char16_t nul[] = {u'a', 0, u'b'};
  EXPECT_EQ(TraceWriter::Quote(std::u16string_view(nul, 3)), "\"a\\u0000b\"");
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

TEST(TraceWriter, DoublesReadBackBitForBit) {
  const double values[] = {0.1, 1.0 / 3.0, 5e-324, 1.7976931348623157e308, -0.0, 123456789.123456789};
  for (const double value : values) {
    TraceWriter trace;
    trace.Begin("v").Field("x", value).End();
    const std::string& text = trace.Text();
    const auto start = text.find("\"x\":") + 4;
    const double back = std::strtod(text.c_str() + start, nullptr);
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
  }
}

TEST(TraceWriter, WritesTheWholeFileOrSaysWhy) {
  const auto dir = std::filesystem::temp_directory_path() / ("trace_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  TraceWriter trace;
  trace.Begin("a").Field("n", std::int64_t{1});  // left open: closed in the file
  std::string error;
  ASSERT_TRUE(trace.WriteTo(dir / "t.jsonl", error)) << error;
  std::ifstream in(dir / "t.jsonl");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "{\"ev\":\"a\",\"n\":1}\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "t.jsonl.part"));
  EXPECT_FALSE(trace.WriteTo(dir / "missing" / "t.jsonl", error));
  EXPECT_NE(error.find("cannot write the trace"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
