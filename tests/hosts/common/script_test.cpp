// The script parser: every kind of bad line gives its own message; good scripts parse.
#include "script.h"

#include <gtest/gtest.h>
#include <winuser.h>

namespace {

using kit::Command;
using kit::ParseScript;

TEST(Script, BadLinesNameTheirFault) {
  const std::string at = "run.txt:1: ";
  const std::string wait = at + "wait needs one number of milliseconds";
  const std::string waitGot = wait + " (0..2147483647), got ";
  const std::string tilt = at + "tilt needs two numbers 0..4294967295 (throttle, steer)";
  const std::string key =
      at + "key needs one name (softkey1, softkey2, enter, escape, up, down, left, right, a-z, ctrl+a-z)";
  const std::string tap = at + "tap needs two whole numbers X Y";
  const std::string shot = at + "shot needs one file name of letters, digits, '_', '.', '-', not starting with '.'";
  const std::string unknown = " (tilt, wait, key, tap, ok, shot)";
  const std::pair<std::string, std::string> cases[] = {
      {"wait abc", waitGot + "\"abc\""},
      {"wait", wait},
      {"wait 2147483648", waitGot + "\"2147483648\""},
      {"tilt 1", tilt},
      {"tilt 4294967296 0", tilt + ", got \"4294967296\""},
      {"tilt 1x 2", tilt + ", got \"1x\""},
      {"tilt 99999999999999999999999 2", tilt + ", got \"99999999999999999999999\""},
      {"key", key},
      {"key ctrl+1", key + ", got \"ctrl+1\""},
      {"key 7", key + ", got \"7\""},
      {"tap 1", tap},
      {"tap 1 y", tap + ", got \"y\""},
      {"tap 2147483648 0", tap + ", got \"2147483648\""},
      {"ok now", at + "ok takes at most one button (ok, cancel, yes, no, retry, abort, ignore), got \"now\""},
      {"shot", shot},
      {"shot ../up", shot + ", got \"../up\""},
      {"shot .hidden", shot + ", got \".hidden\""},
      {"jump 3", at + "unknown command \"jump\"" + unknown},
      {"wait 2147483000\ntilt 1 2\nwait 647\nwait 1\nwait 5",
       "run.txt:4: the script's waits come to 2147483648 ms, over the most of 2147483647 (about 24.8 days)"},
      {"wait 1\n\n# fine\nwait x", "run.txt:4: wait needs one number of milliseconds (0..2147483647), got \"x\""},
      {std::string(2000, 'w'), at + "line longer than 1024 bytes"},
      {std::string("wait 1\0", 7), at + "NUL byte in line"},
      {"wait 1 # \xff", at + "not UTF-8 text"},
      {"shot \xc3", at + "not UTF-8 text"},
      {"shot \xed\xa0\x80", at + "not UTF-8 text"},  // a lone surrogate
      {"jump\x01", at + "unknown command \"jump\\x01\"" + unknown},
      {"", "run.txt: the script has no commands"},
      {"# only a note\n  \t\n", "run.txt: the script has no commands"},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(ParseScript(text, "run.txt", error).has_value()) << text;
    EXPECT_EQ(error, message) << text;
  }
}

// Each command as "line kind fields", for comparing whole scripts.
std::string Shown(const Command& c) {
  return std::to_string(c.line) + " " + std::to_string(static_cast<int>(c.kind)) + " " + std::to_string(c.throttle) +
         " " + std::to_string(c.steer) + " " + std::to_string(c.ms) + " " + std::to_string(c.virtualKey) +
         (c.control ? " ctrl " : " ") + std::to_string(c.x) + " " + std::to_string(c.y) + " " + c.name;
}

TEST(Script, GoodScriptParsesEveryCommand) {
  const std::string text =
      "# a run\n\ntilt 0 4294967295   # full steer\n\twait\t1000\r\nkey Ctrl+Q\ntap -3 17\nok\nshot end_1.v-2\n   \n"
      "wait 2147482647\n";  // the waits' limit, exactly
  std::string error;
  const auto script = ParseScript(text, "run.txt", error);
  ASSERT_TRUE(script.has_value()) << error;
  std::vector<std::string> shown;
  for (const Command& command : script->commands) {
    shown.push_back(Shown(command));
  }
  // Key names are the desktop's key map test's.
  EXPECT_EQ(shown, (std::vector<std::string>{"3 0 0 4294967295 0 0 0 0 ", "4 1 0 0 1000 0 0 0 ",
                                             "5 2 0 0 0 81 ctrl 0 0 ", "6 3 0 0 0 0 -3 17 ", "7 4 0 0 0 0 0 0 ",
                                             "8 5 0 0 0 0 0 0 end_1.v-2", "10 1 0 0 2147482647 0 0 0 "}));
}

}  // namespace
