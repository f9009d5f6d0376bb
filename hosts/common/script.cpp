// Script parsing: every fault names its line, and nothing of a bad script runs.
#include "script.h"

#include <winuser.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "platform/host/text.h"
#include "script_words.h"

namespace kit {

namespace {

constexpr std::size_t kMaxLine = 1024;
constexpr std::size_t kMaxScript = std::size_t{16} * 1024 * 1024;

// Quoted for a message: long words cut, unprintable bytes shown as \xNN.
std::string Quote(std::string_view word) {
  std::string out = "\"";
  const std::size_t shown = word.size() > 40 ? 40 : word.size();
  for (std::size_t i = 0; i < shown; ++i) {
    const auto c = static_cast<unsigned char>(word[i]);
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
      static const char* const kHex = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4U];
      out += kHex[c & 0xFU];
    } else {
      out += static_cast<char>(c);
    }
  }
  if (shown < word.size()) {
    out += "...";
  }
  return out + "\"";
}

bool ValidUtf8(std::string_view text) { return handset::host::WideFromUtf8(text).has_value(); }

std::optional<std::uint64_t> Unsigned(std::string_view word, std::uint64_t most) {
  if (word.empty() || word.size() > 20) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > most) {
      return std::nullopt;
    }
  }
  return value;
}

std::optional<int> Signed(std::string_view word) {
  const bool negative = !word.empty() && (word[0] == '-' || word[0] == '+');
  const bool minus = negative && word[0] == '-';
  const auto magnitude = Unsigned(negative ? word.substr(1) : word, minus ? 2147483648ULL : 2147483647ULL);
  if (!magnitude) {
    return std::nullopt;
  }
  return minus ? static_cast<int>(-static_cast<std::int64_t>(*magnitude)) : static_cast<int>(*magnitude);
}

bool PlainStem(std::string_view name) {
  if (name.empty() || name.size() > 100 || name[0] == '.') {
    return false;
  }
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-';
  });
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      ++i;
    }
    if (i > start) {
      words.push_back(line.substr(start, i - start));
    }
  }
  return words;
}

// Parses one line's words into `command`, or returns what is wrong with them.
std::string ParseWords(const std::vector<std::string_view>& words, Command& command) {
  const std::string_view verb = words[0];
  const std::size_t args = words.size() - 1;
  if (verb == "tilt") {
    constexpr const char* kNeed = "tilt needs two numbers 0..4294967295 (throttle, steer)";
    if (args != 2) {
      return kNeed;
    }
    const auto throttle = Unsigned(words[1], 0xFFFFFFFFULL);
    const auto steer = Unsigned(words[2], 0xFFFFFFFFULL);
    if (!throttle || !steer) {
      return std::string(kNeed) + ", got " + Quote(!throttle ? words[1] : words[2]);
    }
    command.kind = Command::Kind::Tilt;
    command.throttle = static_cast<std::uint32_t>(*throttle);
    command.steer = static_cast<std::uint32_t>(*steer);
  } else if (verb == "wait") {
    constexpr const char* kNeed = "wait needs one number of milliseconds";
    if (args != 1) {
      return kNeed;
    }
    const auto ms = Unsigned(words[1], 0x7FFFFFFFULL);
    if (!ms) {
      return std::string(kNeed) + " (0..2147483647), got " + Quote(words[1]);
    }
    command.kind = Command::Kind::Wait;
    command.ms = static_cast<std::uint32_t>(*ms);
  } else if (verb == "key") {
    constexpr const char* kNeed =
        "key needs one name (softkey1, softkey2, enter, escape, up, down, left, right, a-z, ctrl+a-z)";
    if (args != 1) {
      return kNeed;
    }
    const auto key = KeyNamed(words[1]);
    if (!key) {
      return std::string(kNeed) + ", got " + Quote(words[1]);
    }
    command.kind = Command::Kind::Key;
    command.virtualKey = key->first;
    command.control = key->second;
  } else if (verb == "tap") {
    constexpr const char* kNeed = "tap needs two whole numbers X Y";
    if (args != 2) {
      return kNeed;
    }
    const auto x = Signed(words[1]);
    const auto y = Signed(words[2]);
    if (!x || !y) {
      return std::string(kNeed) + ", got " + Quote(!x ? words[1] : words[2]);
    }
    command.kind = Command::Kind::Tap;
    command.x = *x;
    command.y = *y;
  } else if (verb == "ok") {
    constexpr const char* kNeed = "ok takes at most one button (ok, cancel, yes, no, retry, abort, ignore)";
    command.button = args == 1 ? BoxButtonNamed(words[1]) : 0;
    if (args > 1 || (args == 1 && command.button == 0)) {
      return std::string(kNeed) + ", got " + Quote(words[args > 1 ? 2 : 1]);
    }
    command.kind = Command::Kind::Ok;
  } else if (verb == "shot") {
    constexpr const char* kNeed = "shot needs one file name of letters, digits, '_', '.', '-', not starting with '.'";
    if (args != 1) {
      return kNeed;
    }
    if (!PlainStem(words[1])) {
      return std::string(kNeed) + ", got " + Quote(words[1]);
    }
    command.kind = Command::Kind::Shot;
    command.name = std::string(words[1]);
  } else {
    return "unknown command " + Quote(verb) + " (tilt, wait, key, tap, ok, shot)";
  }
  return {};
}

constexpr std::string_view kHeader = "# recording: ";

// The header's options, one word each; the program is everything up to ": ".
std::optional<RecordedWith> HeaderOf(std::string_view line, int number) {
  if (line.substr(0, kHeader.size()) != kHeader) {
    return std::nullopt;
  }
  line.remove_prefix(kHeader.size());
  const std::size_t colon = line.find(": ");
  RecordedWith with;
  with.line = number;
  with.program = std::string(line.substr(0, colon));
  if (colon != std::string_view::npos) {
    for (const std::string_view word : Words(line.substr(colon + 2))) {
      with.options.emplace_back(word);
    }
  }
  return with;
}

}  // namespace

std::string RecordingHeader(const std::string& program, const std::vector<std::string>& options) {
  std::string line = std::string(kHeader) + program + ":";
  for (const std::string& option : options) {
    line += " " + option;
  }
  return line;
}

std::optional<Script> ParseScript(std::string_view text, const std::string& file, std::string& error) {
  Script script;
  std::vector<Command>& commands = script.commands;
  if (text.size() > kMaxScript) {
    error = file + ": script too large (over 16 MiB)";
    return std::nullopt;
  }
  // The handset compares times by their difference, which holds for half the tick
  // count's range: a longer script would end before it began.
  constexpr std::uint64_t kMaxTotalWait = 0x7FFFFFFFU;
  std::uint64_t waited = 0;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    ++number;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const std::string where = file + ":" + std::to_string(number) + ": ";
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.size() > kMaxLine) {
      error = where + "line longer than " + std::to_string(kMaxLine) + " bytes";
      return std::nullopt;
    }
    if (line.find('\0') != std::string_view::npos) {
      error = where + "NUL byte in line";
      return std::nullopt;
    }
    if (!ValidUtf8(line)) {
      error = where + "not UTF-8 text";
      return std::nullopt;
    }
    // Only a comment before the first command can be the header.
    if (commands.empty() && !script.recordedWith) {
      script.recordedWith = HeaderOf(line, number);
    }
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    const auto words = Words(line);
    if (words.empty()) {
      continue;
    }
    Command command;
    command.line = number;
    if (const std::string wrong = ParseWords(words, command); !wrong.empty()) {
      error = where + wrong;
      return std::nullopt;
    }
    if (command.kind == Command::Kind::Wait && (waited += command.ms) > kMaxTotalWait) {
      error = where + "the script's waits come to " + std::to_string(waited) + " ms, over the most of " +
              std::to_string(kMaxTotalWait) + " (about 24.8 days)";
      return std::nullopt;
    }
    commands.push_back(std::move(command));
  }
  // Most likely a recording that failed or the wrong file: a run of it would show only
  // the program starting and being closed.
  if (commands.empty()) {
    error = file + ": the script has no commands";
    return std::nullopt;
  }
  return script;
}

std::string TapOffScreen(const std::vector<Command>& commands, int width, int height, const std::string& file) {
  for (const Command& command : commands) {
    if (command.kind == Command::Kind::Tap &&
        (command.x < 0 || command.y < 0 || command.x >= width || command.y >= height)) {
      return file + ":" + std::to_string(command.line) + ": tap " + std::to_string(command.x) + " " +
             std::to_string(command.y) + " is off the " + std::to_string(width) + "x" + std::to_string(height) +
             " screen";
    }
  }
  return {};
}

std::optional<Script> LoadScript(const std::string& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file + ": cannot read: " + std::strerror(errno);
    return std::nullopt;
  }
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxScript) {
      break;
    }
  }
  if (in.bad()) {
    error = file + ": cannot read: " + std::strerror(errno);
    return std::nullopt;
  }
  return ParseScript(text, file, error);
}

}  // namespace kit
