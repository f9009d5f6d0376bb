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
#include "recorded_options.h"
#include "script.h"
#include "script_player.h"
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
  Run(HeadlessOptions options, std::vector<kit::Command> commands, const HeadlessProgram& program)
      : options_(std::move(options)),
        program_(program),
        player_(std::move(commands), options_.script, Hooks()),
        laps_(program.lapWatch) {}

  void Install() {
    handset::host::Hooks hooks;
    hooks.idle = [this] {
      progress_.Note(static_cast<DWORD>(Ms() - bootMs_));
      return player_.Idle();
    };
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
    bootMs_ = Ms();
    progress_.Start(player_.TotalMs(), program_.stderrIsTerminal.value_or(isatty(STDERR_FILENO) == 1));
  }

  kit::TraceWriter& Trace() { return trace_; }
  const kit::LapBook& Laps() const { return laps_; }
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
  kit::PlayerHooks Hooks() {
    kit::PlayerHooks hooks;
    hooks.shoot = [this](const kit::Command& command) {
      std::string error;
      const std::filesystem::path file = options_.shots / (command.name + ".png");
      if (!handset::host::WriteScreenPng(file, error)) {
        Fail(kUsage, player_.Where(command) + ": shot: " + error);
      }
    };
    hooks.warn = [](const std::string& line) { std::cerr << line << '\n'; };
    hooks.wouldNotEnd = [this](const std::string& line) { Fail(kWouldNotEnd, line); };
    return hooks;
  }

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
    laps_.AfterMessage();
    if (program_.afterMessage && trace_.Keeping()) {
      program_.afterMessage(HandledMessage{message, sent, main_.Is(message.hwnd)}, trace_);
    }
  }

  HeadlessOptions options_;
  const HeadlessProgram& program_;
  kit::ScriptPlayer player_;
  kit::LapBook laps_;
  kit::TraceWriter trace_;
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
         "  --shots DIR              where `shot` writes its PNGs (default: here)\n"
         "  --laps                   print each lap's time and the best lap at the end\n" +
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
  auto script = kit::LoadScript(options->script, error);
  if (!script) {
    std::cerr << error << '\n';
    return kUsage;
  }
  if (script->recordedWith) {
    std::string warning;
    if (!kit::TakeRecordedOptions(*script->recordedWith, options->script, program.NameAndVersion(), options->handset,
                                  error, warning)) {
      std::cerr << error << '\n';
      return kUsage;
    }
    if (!warning.empty()) {
      std::cerr << warning << '\n';
    }
  }
  std::vector<kit::Command>* commands = &script->commands;
  const handset::host::ScreenSize& screen = options->handset.screen;
  if (const std::string off = kit::TapOffScreen(*commands, screen.width, screen.height, options->script);
      !off.empty()) {
    std::cerr << off << '\n';
    return kUsage;
  }
  // Shots would fail one by one, after the run had gone to the trouble.
  const bool shoots = std::any_of(commands->begin(), commands->end(),
                                  [](const kit::Command& command) { return command.kind == kit::Command::Kind::Shot; });
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
  const bool laps = options->laps;
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
  if (laps) {
    // Last, so a reader of the output finds them at its end.
    std::cout << run.Laps().Lines() << std::flush;
  }
  return code;
}

}  // namespace headless
