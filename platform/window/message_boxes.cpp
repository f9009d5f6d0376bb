// MessageBoxW: its buttons, how it is drawn and answered, and the system's answer to
// the topmost box.
#include "platform/window/message_boxes.h"

#include <winbase.h>

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/gdi_state.h"
#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/window/text_wrap.h"
#include "platform/window/window_state.h"
#include "platform/window/window_tree.h"

namespace handset {

namespace {

constexpr char16_t kBoxClass[] = u"#handset-messagebox";
constexpr COLORREF kCaptionColour = RGB(16, 40, 96);
constexpr COLORREF kOtherButtonColour = RGB(104, 120, 156);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr UINT kButtonsMask = 0x0FU;
constexpr UINT kIconMask = 0xF0U;
constexpr UINT kDefaultMask = 0xF00U;

// One of the button sets MB_OK ... MB_RETRYCANCEL, left to right. `cancel` is what
// Escape and closing answer: Cancel, or OK when that is the only button; 0 for none.
struct ButtonSet {
  std::array<int, 3> ids;
  std::size_t count;
  int cancel;
  std::span<const int> Ids() const { return {ids.data(), count}; }
  bool Has(int id) const { return std::find(ids.begin(), ids.begin() + count, id) != ids.begin() + count; }
};

constexpr std::array<ButtonSet, 6> kButtonSets{{
    {{IDOK}, 1, IDOK},
    {{IDOK, IDCANCEL}, 2, IDCANCEL},
    {{IDABORT, IDRETRY, IDIGNORE}, 3, 0},
    {{IDYES, IDNO, IDCANCEL}, 3, IDCANCEL},
    {{IDYES, IDNO}, 2, 0},
    {{IDRETRY, IDCANCEL}, 2, IDCANCEL},
}};

const ButtonSet& ButtonsOf(const Window& box) { return kButtonSets[box.boxStyle & kButtonsMask]; }

int DefaultButton(const Window& box) { return ButtonsOf(box).ids[(box.boxStyle & kDefaultMask) >> 8U]; }

// What closing the box answers, and the end of a session: Cancel where it has one.
int Dismissal(const Window& box) {
  const int cancel = ButtonsOf(box).cancel;
  return cancel != 0 ? cancel : DefaultButton(box);
}

std::u16string LabelOf(int id) {
  switch (id) {
    case IDOK:
      return u"OK";
    case IDCANCEL:
      return u"Cancel";
    case IDABORT:
      return u"Abort";
    case IDRETRY:
      return u"Retry";
    case IDIGNORE:
      return u"Ignore";
    case IDYES:
      return u"Yes";
    default:
      return u"No";
  }
}

// Why `type` cannot be shown, or empty when it can.
std::string Unsupported(UINT type) {
  constexpr UINT kHarmless = MB_SETFOREGROUND | MB_TOPMOST;  // the box comes forward anyway
  if ((type & kButtonsMask) >= kButtonSets.size()) {
    return "unsupported buttons " + Hex(type & kButtonsMask);
  }
  if ((type & kIconMask) > MB_ICONASTERISK) {
    return "unsupported icon " + Hex(type & kIconMask);
  }
  const std::size_t defaultButton = (type & kDefaultMask) >> 8U;
  if (defaultButton >= kButtonSets[type & kButtonsMask].count) {
    return "default button " + std::to_string(defaultButton + 1) + " of a box with " +
           std::to_string(kButtonSets[type & kButtonsMask].count);
  }
  if (const UINT unknown = type & ~(kButtonsMask | kIconMask | kDefaultMask | kHarmless); unknown != 0) {
    return "unsupported flags " + Hex(unknown);
  }
  return {};
}

// Sizes follow the font and the screen's density.
struct BoxLayout {
  int margin;
  int padding;
  int line;
  int width;
};

BoxLayout LayoutFor() {
  const ScreenSize& screen = Windows().screenSize;
  const int line = SystemFont().Height();
  return {screen.BarHeight() / 4, line / 2, line, screen.width - 2 * (screen.BarHeight() / 4)};
}

// Button `index` of the box's buttons, which sit at its bottom right, narrowed when
// the screen is too small for them.
RECT ButtonRect(const Window& box, const BoxLayout& layout, std::size_t index) {
  const LONG width = box.rect.right - box.rect.left;
  const LONG height = box.rect.bottom - box.rect.top;
  const auto count = static_cast<LONG>(ButtonsOf(box).count);
  const LONG buttonWidth =
      std::max<LONG>(1, std::min<LONG>(4 * layout.line, (width - (count + 1) * layout.padding) / count));
  const LONG right = width - layout.padding - (count - 1 - static_cast<LONG>(index)) * (buttonWidth + layout.padding);
  return {right - buttonWidth, height - layout.padding - layout.line - layout.padding, right, height - layout.padding};
}

void PaintBox(HWND handle, Window& box) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  const BoxLayout layout = LayoutFor();
  RECT client{};
  GetClientRect(handle, &client);
  HBRUSH white = CreateSolidBrush(kWhite);
  HBRUSH caption = CreateSolidBrush(kCaptionColour);
  HBRUSH other = CreateSolidBrush(kOtherButtonColour);
  FillRect(dc, &client, white);
  const RECT band{0, 0, client.right, layout.line + layout.padding};
  FillRect(dc, &band, caption);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kWhite);
  ExtTextOutW(dc, layout.padding, layout.padding / 2, 0, nullptr, box.title.data(), static_cast<UINT>(box.title.size()),
              nullptr);
  SetTextColor(dc, kBlack);
  int y = band.bottom + layout.padding;
  for (const std::u16string& line : WrapText(dc, box.text, layout.width - 2 * layout.padding)) {
    ExtTextOutW(dc, layout.padding, y, 0, nullptr, line.data(), static_cast<UINT>(line.size()), nullptr);
    y += layout.line;
  }
  // The default button in the caption's colour, the others paler.
  SetTextColor(dc, kWhite);
  const std::span<const int> ids = ButtonsOf(box).Ids();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const RECT button = ButtonRect(box, layout, i);
    FillRect(dc, &button, ids[i] == DefaultButton(box) ? caption : other);
    const std::u16string label = LabelOf(ids[i]);
    ExtTextOutW(dc, (button.left + button.right - TextWidth(dc, label)) / 2, button.top + layout.padding / 2,
                ETO_CLIPPED, &button, label.data(), static_cast<UINT>(label.size()), nullptr);
  }
  DeleteObject(white);
  DeleteObject(caption);
  DeleteObject(other);
  EndPaint(handle, &paint);
}

LRESULT CALLBACK BoxProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto box = WindowOf(handle);
  if (!box) {
    return 0;
  }
  const ButtonSet& buttons = ButtonsOf(*box);
  switch (message) {
    case WM_PAINT:
      PaintBox(handle, *box);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        EndBox(*box, DefaultButton(*box));
      } else if (wParam == VK_ESCAPE && buttons.cancel != 0) {
        EndBox(*box, buttons.cancel);
      }
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (buttons.Has(id)) {
        EndBox(*box, id);
      } else if (id == IDCANCEL && buttons.cancel != 0) {
        EndBox(*box, buttons.cancel);
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const BoxLayout layout = LayoutFor();
      for (std::size_t i = 0; i < buttons.count; ++i) {
        const RECT button = ButtonRect(*box, layout, i);
        if (at.x >= button.left && at.x < button.right && at.y >= button.top && at.y < button.bottom) {
          EndBox(*box, buttons.ids[i]);
        }
      }
      return 0;
    }
    case WM_CLOSE:
      EndBox(*box, Dismissal(*box));
      return 0;
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

void RegisterBoxClass() {
  if (Windows().classes.contains(kBoxClass)) {
    return;
  }
  WNDCLASSW boxClass{};
  boxClass.lpfnWndProc = BoxProcedure;
  boxClass.lpszClassName = kBoxClass;
  RegisterClassW(&boxClass);
}

// Tall enough for the caption, the wrapped text and the buttons; centred in the work area.
RECT PlaceBox(const std::u16string& text) {
  const BoxLayout layout = LayoutFor();
  HDC measure = CreateCompatibleDC(nullptr);
  const auto lines = static_cast<int>(WrapText(measure, text, layout.width - 2 * layout.padding).size());
  DeleteDC(measure);
  const int height = (layout.line + layout.padding) + layout.padding + lines * layout.line + layout.padding +
                     (layout.line + 2 * layout.padding) + layout.padding;
  const RECT work = Windows().screenSize.WorkArea();
  const int top = std::max<int>(work.top, (work.top + work.bottom - height) / 2);
  return {layout.margin, top, layout.margin + layout.width, std::min<LONG>(work.bottom, top + height)};
}

}  // namespace

HWND TopmostBox() {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (window && !window->ended &&
        (window->kind == Window::Kind::MessageBox || window->kind == Window::Kind::Dialog)) {
      return candidate;
    }
  }
  return nullptr;
}

int AnswerTopmostBox(BoxAnswer how, int button) {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (!window || window->ended || window->answered ||
        (window->kind != Window::Kind::MessageBox && window->kind != Window::Kind::Dialog)) {
      continue;
    }
    int pressed = button != 0 ? button : IDOK;
    if (window->kind == Window::Kind::MessageBox) {
      if (button == 0) {
        pressed = how == BoxAnswer::Dismiss ? Dismissal(*window) : DefaultButton(*window);
      } else if (!ButtonsOf(*window).Has(button)) {
        return 0;
      }
    }
    window->answered = true;
    SendMessageW(candidate, WM_COMMAND, static_cast<WPARAM>(pressed), 0);
    return pressed;
  }
  return 0;
}

}  // namespace handset

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  using handset::Windows;
  if (const std::string unsupported = handset::Unsupported(type); !unsupported.empty()) {
    handset::Refuse("MessageBoxW", unsupported, ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (owner != nullptr && !handset::WindowOf(owner)) {
    owner = nullptr;  // as on Windows: a box whose owner is gone has none
  }
  handset::RegisterBoxClass();
  const std::u16string message = text != nullptr ? text : u"";
  const std::u16string title = caption != nullptr ? caption : u"Error";
  const RECT place = handset::PlaceBox(message);
  const DWORD exStyle = (type & MB_TOPMOST) != 0 ? WS_EX_TOPMOST : 0;
  HWND box = CreateWindowExW(exStyle, handset::kBoxClass, title.c_str(), WS_POPUP, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, owner, nullptr, nullptr, nullptr);
  if (box == nullptr) {
    return 0;
  }
  const auto window = handset::WindowOf(box);
  window->kind = handset::Window::Kind::MessageBox;
  window->text = message;
  window->boxStyle = type;
  if (owner != nullptr) {
    EnableWindow(owner, FALSE);
  }
  ShowWindow(box, SW_SHOW);
  if (handset::TheHandset().hooks.boxOpened) {
    handset::TheHandset().hooks.boxOpened(owner, title, message, type);
  }
  // A box that goes without an answer (its owner destroyed, the program quitting)
  // answers as closing it does.
  const auto result = static_cast<int>(handset::RunModalLoop(box));
  const int answer = window->ended ? result : handset::Dismissal(*window);
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(box);
  if (owner != nullptr && IsWindow(owner)) {
    handset::Activate(owner);
  }
  return answer;
}
