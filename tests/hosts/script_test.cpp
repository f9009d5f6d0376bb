// The script parser: every kind of bad line gives its own message; good scripts parse.
#include "script.h"

#include <gtest/gtest.h>
#include <winuser.h>

namespace {

using headless::Command;
using headless::ParseScript;

TEST(Script, BadLinesNameTheirFault) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"wait abc", "run.txt:1: wait needs one number of milliseconds (0..2147483647), got \"abc\""},
      {"wait", "run.txt:1: wait needs one number of milliseconds"},
      {"wait -5", "run.txt:1: wait needs one number of milliseconds (0..2147483647), got \"-5\""},
      {"wait 2147483648", "run.txt:1: wait needs one number of milliseconds (0..2147483647), got \"2147483648\""},
      {"tilt 1", "run.txt:1: tilt needs two numbers 0..4294967295 (throttle, steer)"},
      {"tilt 4294967296 0", "run.txt:1: tilt needs two numbers 0..4294967295 (throttle, steer), got \"4294967296\""},
      {"tilt 1x 2", "run.txt:1: tilt needs two numbers 0..4294967295 (throttle, steer), got \"1x\""},
      {"tilt 99999999999999999999999 2",
       "run.txt:1: tilt needs two numbers 0..4294967295 (throttle, steer), got \"99999999999999999999999\""},
      {"key",
       "run.txt:1: key needs one name (softkey1, softkey2, enter, escape, up, down, left, right, a-z, ctrl+a-z)"},
      {"key ctrl+1",
       "run.txt:1: key needs one name (softkey1, softkey2, enter, escape, up, down, left, right, a-z, ctrl+a-z), got "
       "\"ctrl+1\""},
      {"key 7",
       "run.txt:1: key needs one name (softkey1, softkey2, enter, escape, up, down, left, right, a-z, ctrl+a-z), got "
       "\"7\""},
      {"tap 1", "run.txt:1: tap needs two whole numbers X Y"},
      {"tap 1 y", "run.txt:1: tap needs two whole numbers X Y, got \"y\""},
      {"tap 2147483648 0", "run.txt:1: tap needs two whole numbers X Y, got \"2147483648\""},
      {"ok now", "run.txt:1: ok takes nothing, got \"now\""},
      {"shot", "run.txt:1: shot needs one file name of letters, digits, '_', '.', '-', not starting with '.'"},
      {"shot ../up",
       "run.txt:1: shot needs one file name of letters, digits, '_', '.', '-', not starting with '.', got "
       "\"../up\""},
      {"shot .hidden",
       "run.txt:1: shot needs one file name of letters, digits, '_', '.', '-', not starting with '.', "
       "got \".hidden\""},
      {"jump 3", "run.txt:1: unknown command \"jump\" (tilt, wait, key, tap, ok, shot)"},
      {"WAIT 3", "run.txt:1: unknown command \"WAIT\" (tilt, wait, key, tap, ok, shot)"},
      {"wait 2147483000\ntilt 1 2\nwait 647\nwait 1\nwait 5",
       "run.txt:4: the script's waits come to 2147483648 ms, over the most of 2147483647 (about 24.8 days)"},
      {"wait 1\n\n# fine\nwait x", "run.txt:4: wait needs one number of milliseconds (0..2147483647), got \"x\""},
      {std::string(2000, 'w'), "run.txt:1: line longer than 1024 bytes"},
      {std::string("wait 1\0", 7), "run.txt:1: NUL byte in line"},
      {"wait 1 # \xff", "run.txt:1: not UTF-8 text"},
      {"shot \xc3", "run.txt:1: not UTF-8 text"},
      {"shot \xed\xa0\x80", "run.txt:1: not UTF-8 text"},  // a lone surrogate
      {"jump\x01", "run.txt:1: unknown command \"jump\\x01\" (tilt, wait, key, tap, ok, shot)"},
      {"", "run.txt: the script has no commands"},
      {"# only a note\n  \t\n", "run.txt: the script has no commands"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseScript(c.text, "run.txt", error).has_value()) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

TEST(Script, GoodScriptParsesEveryCommand) {
  const std::string text =
      "# a run\n"
      "\n"
      "tilt 0 4294967295   # full steer\n"
      "\twait\t1000\r\n"
      "key softkey1\n"
      "key Ctrl+Q\n"
      "key escape\n"
      "tap -3 17\n"
      "ok\n"
      "shot end_1.v-2\n"
      "   \n"
      "wait 2147482647\n";  // the waits' limit, exactly
  std::string error;
  const auto script = ParseScript(text, "run.txt", error);
  ASSERT_TRUE(script.has_value()) << error;
  ASSERT_EQ(script->size(), 9U);
  const auto& s = *script;
  EXPECT_EQ(s[0].kind, Command::Kind::Tilt);
  EXPECT_EQ(s[0].line, 3);
  EXPECT_EQ(s[0].throttle, 0U);
  EXPECT_EQ(s[0].steer, 4294967295U);
  EXPECT_EQ(s[1].kind, Command::Kind::Wait);
  EXPECT_EQ(s[1].ms, 1000U);
  EXPECT_EQ(s[3].virtualKey, static_cast<UINT>('Q'));  // key names: the desktop's key map test
  EXPECT_TRUE(s[3].control);
  EXPECT_EQ(s[5].kind, Command::Kind::Tap);
  EXPECT_EQ(s[5].x, -3);
  EXPECT_EQ(s[5].y, 17);
  EXPECT_EQ(s[6].kind, Command::Kind::Ok);
  EXPECT_EQ(s[7].kind, Command::Kind::Shot);
  EXPECT_EQ(s[7].name, "end_1.v-2");
  EXPECT_EQ(s[7].line, 10);
}

}  // namespace
