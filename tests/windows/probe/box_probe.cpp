// Watches the game from beside it under the same Wine server, for the Wine tests: its
// message boxes (read, then answered with OK), its windows and which window has the
// foreground. Prints one line per thing seen; a wait that runs out fails loudly.
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kGameClass[] = L"VIRETA";
constexpr int kTextId = 0xFFFF;  // a message box's text, as Windows and Wine number it
constexpr DWORD kPollMs = 20;

std::string Utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// Plain lines, whatever the C runtime would make of a newline.
void Write(DWORD stream, const std::string& line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void Say(const std::wstring& line) { Write(STD_OUTPUT_HANDLE, Utf8(line) + "\n"); }

int Fail(const std::wstring& line) {
  Write(STD_ERROR_HANDLE, "box_probe: " + Utf8(line) + "\n");
  return 1;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  return title;
}

bool OfAnotherProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process != GetCurrentProcessId();
}

// The visible top-level windows of other processes with the class `className`.
std::vector<HWND> WindowsOfClass(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && OfAnotherProcess(window) && ClassOf(window) == s.className) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The first window of `className` within `timeoutMs`, or null.
HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    const auto found = WindowsOfClass(className);
    if (!found.empty()) {
      return found.front();
    }
    Sleep(kPollMs);
  } while (GetTickCount64() < end);
  return nullptr;
}

std::wstring Describe(HWND window) {
  if (window == nullptr) {
    return L"none";
  }
  const std::wstring className = ClassOf(window);
  return className == kGameClass ? L"main" : L"\"" + className + L"\"";
}

using ProcessHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

// The process of `window`, to learn when it ends; null when it cannot be opened.
ProcessHandle ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return ProcessHandle(OpenProcess(SYNCHRONIZE, FALSE, process), &CloseHandle);
}

// Reads every box as it comes, answers it with OK and waits for it to go. Stops early,
// loudly, when the game ends before showing them all.
int Boxes(int count, DWORD timeoutMs) {
  ProcessHandle game(nullptr, &CloseHandle);
  auto seenSoFar = [count](int seen) {
    return L"(" + std::to_wstring(seen) + L" of " + std::to_wstring(count) + L" seen)";
  };
  for (int seen = 0; seen < count; ++seen) {
    HWND box = nullptr;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while ((box = WaitForWindow(kDialogClass, 0)) == nullptr) {
      if (!game) {
        if (HWND window = WaitForWindow(kGameClass, 0)) {
          game = ProcessOf(window);
        }
      }
      if (game && WaitForSingleObject(game.get(), 0) == WAIT_OBJECT_0) {
        return Fail(L"the game ended before its next box " + seenSoFar(seen));
      }
      if (GetTickCount64() >= end) {
        return Fail(L"no message box within " + std::to_wstring(timeoutMs) + L" ms " + seenSoFar(seen));
      }
      Sleep(kPollMs);
    }
    if (!game) {
      game = ProcessOf(box);
    }
    wchar_t text[512] = {};
    GetDlgItemTextW(box, kTextId, text, 512);
    Say(L"box \"" + TitleOf(box) + L"\": \"" + text + L"\" owner=" + Describe(GetWindow(box, GW_OWNER)));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    const ULONGLONG gone = GetTickCount64() + timeoutMs;
    while (IsWindow(box) && IsWindowVisible(box)) {
      if (GetTickCount64() >= gone) {
        return Fail(L"box \"" + TitleOf(box) + L"\" stayed after OK");
      }
      Sleep(kPollMs);
    }
  }
  return 0;
}

// The game's window comes and, for `quietMs` after, no box does.
int Quiet(DWORD quietMs, DWORD timeoutMs) {
  if (WaitForWindow(kGameClass, timeoutMs) == nullptr) {
    return Fail(L"no game window within " + std::to_wstring(timeoutMs) + L" ms");
  }
  if (HWND box = WaitForWindow(kDialogClass, quietMs)) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, kTextId, text, 512);
    return Fail(L"unexpected box \"" + TitleOf(box) + L"\": \"" + text + L"\"");
  }
  Say(L"no box");
  return 0;
}

int Window(const wchar_t* className, DWORD timeoutMs) {
  HWND window = WaitForWindow(className, timeoutMs);
  if (window == nullptr) {
    return Fail(L"no window of class " + std::wstring(className) + L" within " + std::to_wstring(timeoutMs) + L" ms");
  }
  RECT client{};
  GetClientRect(window, &client);
  Say(L"window \"" + TitleOf(window) + L"\" client=" + std::to_wstring(client.right) + L"x" +
      std::to_wstring(client.bottom));
  return 0;
}

int Count(const wchar_t* className) {
  Say(L"windows " + std::to_wstring(WindowsOfClass(className).size()));
  return 0;
}

// Takes the foreground with a window of its own, says so, then waits for a window of
// `className` to take it back.
int GiveWayTo(const wchar_t* className, DWORD timeoutMs) {
  WNDCLASSW decoyClass{};
  decoyClass.lpfnWndProc = DefWindowProcW;
  decoyClass.hInstance = GetModuleHandleW(nullptr);
  decoyClass.lpszClassName = L"BoxProbeDecoy";
  RegisterClassW(&decoyClass);
  HWND decoy = CreateWindowExW(0, decoyClass.lpszClassName, L"decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, decoyClass.hInstance, nullptr);
  if (decoy == nullptr) {
    return Fail(L"could not make a window");
  }
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  auto pump = [] {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
  };
  SetForegroundWindow(decoy);
  while (GetForegroundWindow() != decoy) {
    if (GetTickCount64() >= end) {
      return Fail(L"could not take the foreground");
    }
    pump();
    Sleep(kPollMs);
  }
  Say(L"holding");
  for (;;) {
    HWND foreground = GetForegroundWindow();
    if (foreground != nullptr && ClassOf(foreground) == className) {
      Say(L"foreground \"" + TitleOf(foreground) + L"\"");
      DestroyWindow(decoy);
      return 0;
    }
    if (GetTickCount64() >= end) {
      return Fail(L"the foreground stayed with \"" + (foreground ? ClassOf(foreground) : L"none") + L"\" for " +
                  std::to_wstring(timeoutMs) + L" ms");
    }
    pump();
    Sleep(kPollMs);
  }
}

// Gives a window of `className` the foreground and types `keys` into it, such as
// "ctrl+q": through Wine's own input queue, so no X focus is needed.
int Press(const wchar_t* className, const std::wstring& keys, DWORD timeoutMs) {
  std::vector<WORD> held;
  std::size_t start = 0;
  for (std::size_t plus = keys.find(L'+'); plus != std::wstring::npos; plus = keys.find(L'+', start)) {
    const std::wstring modifier = keys.substr(start, plus - start);
    if (modifier == L"ctrl") {
      held.push_back(VK_CONTROL);
    } else if (modifier == L"shift") {
      held.push_back(VK_SHIFT);
    } else if (modifier == L"alt") {
      held.push_back(VK_MENU);
    } else {
      return Fail(L"unknown modifier \"" + modifier + L"\" in \"" + keys + L"\"");
    }
    start = plus + 1;
  }
  const std::wstring key = keys.substr(start);
  if (key.size() != 1 || !((key[0] >= L'a' && key[0] <= L'z') || (key[0] >= L'0' && key[0] <= L'9'))) {
    return Fail(L"press takes a letter or digit after its modifiers, got \"" + keys + L"\"");
  }
  HWND window = WaitForWindow(className, timeoutMs);
  if (window == nullptr) {
    return Fail(L"no window of class " + std::wstring(className) + L" within " + std::to_wstring(timeoutMs) + L" ms");
  }
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetForegroundWindow() != window) {
    if (GetTickCount64() >= end) {
      return Fail(L"could not give the foreground to " + std::wstring(className));
    }
    SetForegroundWindow(window);
    Sleep(kPollMs);
  }
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  held.push_back(static_cast<WORD>(std::towupper(key[0])));
  for (const WORD virtualKey : held) {
    add(virtualKey, 0);
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    add(*it, KEYEVENTF_KEYUP);
  }
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
    return Fail(L"the keys \"" + keys + L"\" were not taken");
  }
  Say(L"pressed " + keys);
  return 0;
}

// A whole number of milliseconds, or -1.
long Number(const wchar_t* text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  return end == text || *end != L'\0' || value < 0 ? -1 : value;
}

constexpr wchar_t kUsage[] =
    L"usage: box_probe boxes N | quiet MS | window CLASS | count CLASS | yield CLASS | press CLASS KEYS"
    L"  [--timeout MS]";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  DWORD timeoutMs = 10000;
  if (args.size() >= 2 && args[args.size() - 2] == L"--timeout") {
    const long value = Number(args.back().c_str());
    if (value < 0) {
      return Fail(L"--timeout needs milliseconds, got \"" + args.back() + L"\"");
    }
    timeoutMs = static_cast<DWORD>(value);
    args.resize(args.size() - 2);
  }
  if (args.size() == 3 && args[0] == L"press") {
    return Press(args[1].c_str(), args[2], timeoutMs);
  }
  if (args.size() != 2) {
    return Fail(kUsage);
  }
  const std::wstring& verb = args[0];
  const wchar_t* value = args[1].c_str();
  if (verb == L"boxes" || verb == L"quiet") {
    const long n = Number(value);
    if (n < 0) {
      return Fail(verb + L" needs a number, got \"" + args[1] + L"\"");
    }
    return verb == L"boxes" ? Boxes(static_cast<int>(n), timeoutMs) : Quiet(static_cast<DWORD>(n), timeoutMs);
  }
  if (verb == L"window") {
    return Window(value, timeoutMs);
  }
  if (verb == L"count") {
    return Count(value);
  }
  if (verb == L"yield") {
    return GiveWayTo(value, timeoutMs);
  }
  return Fail(L"unknown verb \"" + verb + L"\"; " + kUsage);
}
