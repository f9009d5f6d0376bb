// The headless host: options, the script's commands run from the idle hook, and the
// host's own trace events (boxes, commands, the exit).
#include "headless_host.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include "handset_boot.h"
#include "headless_options.h"
#include "main_window.h"
#include "platform/host/host.h"
#include "script.h"
#include "script_words.h"

namespace headless {

namespace {

constexpr int kUsage = 2;
constexpr int kWouldNotEnd = 3;

// A box's words kept to one line of stderr: backslashes, quotes and control characters
// escaped.
std::string Escaped(const std::u16string& text) {
  const std::optional<std::string> utf8 = handset::host::Utf8FromWide(text);
  if (!utf8) {
    return "(not UTF-16 text)";
  }
  std::string out;
  for (const char c : *utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      static const char* const kHex = "0123456789abcdef";
      out += "\\x";
      out += kHex[byte >> 4U];
      out += kHex[byte & 0xFU];
    } else {
      out += c;
    }
  }
  return out;
}

// A long run's progress on a terminal: handset time done of the script's total and
// frames a second, at most once a second, written over in place. Silent off a terminal,
// so pipes and logs see nothing of it.
class Progress {
 public:
  using Clock = std::chrono::steady_clock;

  void Start(std::uint64_t totalMs, bool terminal) {
    shown_ = terminal;
    totalMs_ = totalMs;
    started_ = Clock::now();
    lastShown_ = started_;
  }
  void Frame() { ++frames_; }
  void Note(std::uint64_t doneMs) {
    if (!shown_ || (++calls_ & 0xFFU) != 0) {
      return;
    }
    const Clock::time_point now = Clock::now();
    if (now - started_ < kQuiet || now - lastShown_ < std::chrono::seconds(1)) {
      return;
    }
    const double seconds = std::chrono::duration<double>(now - lastShown_).count();
    // Progress only: a terminal that will not take it loses nothing of the run.
    (void)std::fprintf(stderr, "\r%.1f s of %.1f s handset time (%.0f%%), %.0f frames/s   ",
                       static_cast<double>(doneMs) / 1000.0, static_cast<double>(totalMs_) / 1000.0,
                       totalMs_ == 0 ? 100.0 : 100.0 * static_cast<double>(doneMs) / static_cast<double>(totalMs_),
                       static_cast<double>(frames_ - framesShown_) / seconds);
    (void)std::fflush(stderr);
    lastShown_ = now;
    framesShown_ = frames_;
    written_ = true;
  }
  // Ends the line, so what follows starts on its own.
  void End() {
    if (written_) {
      (void)std::fputc('\n', stderr);
      written_ = false;
    }
  }

 private:
  static constexpr std::chrono::seconds kQuiet{3};
  bool shown_ = false;
  bool written_ = false;
  std::uint64_t totalMs_ = 0;
  std::uint64_t frames_ = 0;
  std::uint64_t framesShown_ = 0;
  std::uint32_t calls_ = 0;
  Clock::time_point started_;
  Clock::time_point lastShown_;
};

// Unwinds the program's frames when the run cannot go on.
struct Stop {
  int code;
};

class Run {
 public:
  Run(HeadlessOptions options, std::vector<Command> commands, const HeadlessProgram& program)
      : options_(std::move(options)), commands_(std::move(commands)), program_(program) {}

  void Install() {
    handset::host::Hooks hooks;
    hooks.idle = [this] { return Idle(); };
    hooks.delivering = [this](const MSG& m) { Delivering(m); };
    hooks.afterDispatch = [this](const MSG& m) { After(m, false); };
    hooks.afterSend = [this](const MSG& m) { After(m, true); };
    hooks.boxOpened = [this](HWND owner, const std::u16string& caption, const std::u16string& text, UINT style) {
      // What the program showed would otherwise be seen only in the trace, if one is kept.
      std::cerr << "box \"" << Escaped(caption) << "\": " << Escaped(text) << '\n';
      trace_.Begin("box").Field("ms", static_cast<std::int64_t>(Ms())).Field("caption", caption).Field("text", text);
      if (owner == nullptr) {
        trace_.Field("owner", std::string_view("none"));
      } else if (main_.Is(owner)) {
        trace_.Field("owner", std::string_view("main"));
      } else {
        trace_.Field("owner", static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(owner)));
      }
      trace_.Field("style", static_cast<std::int64_t>(style)).End();
    };
    hooks.deviceCall = [this](std::string_view function, std::span<const HandsetCallArg> args) {
      TraceCall(function, args);
    };
    hooks.refused = [this](std::string_view function, std::string_view reason) {
      std::cerr << "refused " << function << ": " << reason << '\n';
      trace_.Begin("refused")
          .Field("ms", static_cast<std::int64_t>(Ms()))
          .Field("fn", function)
          .Field("reason", reason)
          .End();
    };
    handset::host::InstallHooks(std::move(hooks));
    std::uint64_t total = 0;
    for (const Command& command : commands_) {
      total += command.kind == Command::Kind::Wait ? command.ms : 0;
    }
    bootMs_ = Ms();
    progress_.Start(total, program_.stderrIsTerminal.value_or(isatty(STDERR_FILENO) == 1));
  }

  kit::TraceWriter& Trace() { return trace_; }
  void EndProgress() { progress_.End(); }

  // Starts the trace file, if one was asked for, before anything runs; never the script.
  bool Open(std::string& error) {
    if (!options_.trace) {
      trace_.Discard();
      return true;
    }
    const std::filesystem::path script = options_.script;
    return trace_.StreamTo(*options_.trace, error, &script);
  }

  // Puts the trace in place, if one was asked for; false when that failed.
  bool Finish() {
    if (!options_.trace) {
      return true;
    }
    std::string error;
    if (!trace_.Finish(error)) {
      std::cerr << error << '\n';
      return false;
    }
    return true;
  }

 private:
  void Fail(int code, const std::string& message) {
    std::cerr << message << '\n';
    trace_.Begin("error").Field("message", std::string_view(message)).End();
    throw Stop{code};
  }

  void TraceCall(std::string_view function, std::span<const HandsetCallArg> callArgs) {
    if (!trace_.Keeping()) {
      return;
    }
    std::string args = "[";
    for (const HandsetCallArg& arg : callArgs) {
      if (args.size() > 1) {
        args += ',';
      }
      const auto value = static_cast<std::uintptr_t>(arg.value);
      if (arg.kind == HANDSET_ARG_WINDOW && main_.Get() != nullptr &&
          value == reinterpret_cast<std::uintptr_t>(main_.Get())) {
        args += "\"main\"";
      } else if (arg.kind == HANDSET_ARG_HANDLE) {
        // Addresses differ from run to run; a trace must not.
        args += arg.value == 0 ? "null" : "\"handle\"";
      } else {
        args += std::to_string(arg.value);
      }
    }
    args += ']';
    trace_.Begin("call").Field("ms", static_cast<std::int64_t>(Ms())).Field("fn", function).Raw("args", args).End();
  }

  // A command is written as it arrives, before whatever it opens.
  void Delivering(const MSG& message) {
    main_.Note(message.hwnd);
    if (message.message == WM_COMMAND && main_.Is(message.hwnd)) {
      trace_.Begin("command")
          .Field("ms", static_cast<std::int64_t>(Ms()))
          .Field("id", static_cast<std::int64_t>(LOWORD(message.wParam)))
          .End();
    }
  }

  void After(const MSG& message, bool sent) {
    main_.Note(message.hwnd);
    if (message.message == WM_PAINT && main_.Is(message.hwnd)) {
      progress_.Frame();
    }
    if (program_.afterMessage && trace_.Keeping()) {
      program_.afterMessage(HandledMessage{message, sent, main_.Is(message.hwnd)}, trace_);
    }
  }

  // Moves the clock to the next timer due before `until`, or to `until`.
  static void Advance(DWORD until) {
    using handset::host::TicksUntil;
    const DWORD now = handset::host::Now();
    const auto next = handset::host::NextTimerDue();
    const bool timerFirst = next && TicksUntil(*next, now) > 0 && TicksUntil(*next, until) < 0;
    handset::host::SetNow(timerFirst ? *next : until);
  }

  std::string Where(const Command& command) const { return options_.script + ":" + std::to_string(command.line); }

  void Act(const Command& command) {
    switch (command.kind) {
      case Command::Kind::Tilt:
        handset::host::SetTilt({command.throttle, command.steer});
        break;
      case Command::Kind::Wait:
        target_ = static_cast<DWORD>(handset::host::Now() + command.ms);
        break;
      case Command::Kind::Key:
        handset::host::PressKey(command.virtualKey, command.control);
        break;
      case Command::Kind::Tap:
        handset::host::Tap(POINT{command.x, command.y});
        break;
      case Command::Kind::Ok:
        if (handset::host::AnswerTopmostBox(command.button) == 0) {
          std::cerr << Where(command)
                    << (command.button == 0 ? std::string(": ok: no box is open")
                                            : ": ok " + std::string(kit::BoxButtonName(command.button)) +
                                                  ": no open box has that button")
                    << '\n';
        }
        break;
      case Command::Kind::Shot: {
        std::string error;
        const std::filesystem::path file = options_.shots / (command.name + ".png");
        if (!handset::host::WriteScreenPng(file, error)) {
          Fail(kUsage, Where(command) + ": shot: " + error);
        }
        break;
      }
    }
  }

  bool Idle() {
    using handset::host::TicksUntil;
    handset::host::ServeSessionRequests();
    progress_.Note(static_cast<DWORD>(Ms() - bootMs_));
    const DWORD now = handset::host::Now();
    if (target_ && TicksUntil(*target_, now) > 0) {
      Advance(*target_);
      return true;
    }
    target_.reset();
    if (next_ < commands_.size()) {
      // One command per call, so what it causes is delivered before the next one.
      Act(commands_[next_++]);
      return true;
    }
    // The end of the session, as the system does it: every box answered OK, even one
    // that opens while the program closes, then WM_CLOSE once no box is left.
    if (handset::host::BoxOpen()) {
      handset::host::EndSession();
      return true;
    }
    if (!closing_) {
      closing_ = true;
      closeAt_ = now;
      handset::host::EndSession();
      return true;
    }
    const auto next = handset::host::NextTimerDue();
    if (next && TicksUntil(*next, now) > 0 && kit::WithinClosingGrace(closeAt_, *next)) {
      handset::host::SetNow(*next);
      return true;
    }
    Fail(kWouldNotEnd, "the program kept running after the session ended (it ignored WM_CLOSE)");
    return false;
  }

  HeadlessOptions options_;
  std::vector<Command> commands_;
  const HeadlessProgram& program_;
  kit::TraceWriter trace_;
  std::size_t next_ = 0;
  std::optional<DWORD> target_;  // the end of the running wait
  bool closing_ = false;
  DWORD closeAt_ = 0;
  kit::MainWindow main_;
  DWORD bootMs_ = 0;
  Progress progress_;
};

}  // namespace

DWORD Ms() { return handset::host::Now(); }

std::string HeadlessOptionsHelp(int smallestBand) {
  return "  --headless               run without a display, on a virtual clock\n"
         "  --script FILE            the user's actions, one a line: tilt THROTTLE STEER, wait MS,\n"
         "                           key NAME, tap X Y, ok [BUTTON], shot NAME (# starts a comment)\n"
         "  --trace FILE             write what happened as JSON Lines\n"
         "  --shots DIR              where `shot` writes its PNGs (default: here)\n" +
         kit::HandsetOptionsHelp(smallestBand);
}

int RunHeadless(int argc, char** argv, const HeadlessProgram& program) {
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  if (kit::AnswerVersionOrHelp(args, program, argc > 0 ? argv[0] : nullptr, "--headless --script FILE [options]",
                               HeadlessOptionsHelp(program.smallestBand))) {
    return 0;
  }
  std::string error;
  auto options = ParseHeadlessOptions(args, error);
  if (!options) {
    std::cerr << error << '\n';
    return kUsage;
  }
  auto commands = LoadScript(options->script, error);
  if (!commands) {
    std::cerr << error << '\n';
    return kUsage;
  }
  const handset::host::ScreenSize& screen = options->handset.screen;
  // The screen is known before the run, so a tap off it is a fault of the script.
  for (const Command& command : *commands) {
    if (command.kind == Command::Kind::Tap &&
        (command.x < 0 || command.y < 0 || command.x >= screen.width || command.y >= screen.height)) {
      std::cerr << options->script << ":" << command.line << ": tap " << command.x << " " << command.y << " is off the "
                << screen.width << "x" << screen.height << " screen\n";
      return kUsage;
    }
  }
  // Shots would fail one by one, after the run had gone to the trouble.
  const bool shoots = std::any_of(commands->begin(), commands->end(),
                                  [](const Command& command) { return command.kind == Command::Kind::Shot; });
  if (std::error_code failure; shoots && !std::filesystem::is_directory(options->shots, failure)) {
    std::cerr << "--shots " << options->shots.string() << ": no such folder\n";
    return kUsage;
  }
  if (program.winMain == nullptr) {
    std::cerr << "no program to run\n";
    return kUsage;
  }
  // Headless runs keep to themselves unless told to share a session.
  const HINSTANCE instance = kit::BootHandset(options->handset, program, error);
  if (instance == nullptr) {
    std::cerr << error << '\n';
    return kUsage;
  }
  // Nothing reads the pixels of a run without shots, so none is drawn.
  if (!shoots) {
    handset::host::DrawPixels(false);
  }
  Run run(std::move(*options), std::move(*commands), program);
  if (!run.Open(error)) {
    std::cerr << error << '\n';
    return kUsage;
  }
  run.Install();
  int code = 0;
  try {
    WCHAR none[1] = {0};
    code = program.winMain(instance, nullptr, none, SW_SHOW);
  } catch (const Stop& stop) {
    handset::host::RemoveHooks();
    run.EndProgress();
    run.Finish();
    return stop.code;
  }
  handset::host::RemoveHooks();
  run.EndProgress();
  run.Trace().Begin("exit").Field("code", static_cast<std::int64_t>(code)).End();
  if (!run.Finish()) {
    return kUsage;
  }
  return code;
}

}  // namespace headless
