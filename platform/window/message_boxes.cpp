// MessageBoxW, and the system's answer to the topmost box.
#include "window/message_boxes.h"

#include <winbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gdi/gdi_state.h"
#include "window/text_wrap.h"
#include "window/window_state.h"
#include "window/window_tree.h"

namespace handset {

namespace {

constexpr char16_t kBoxClass[] = u"#handset-messagebox";
constexpr COLORREF kCaptionColour = RGB(16, 40, 96);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

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

RECT OkButton(const Window& box, const BoxLayout& layout) {
  const LONG width = box.rect.right - box.rect.left;
  const LONG height = box.rect.bottom - box.rect.top;
  const LONG buttonWidth = 4 * layout.line;
  return {width - layout.padding - buttonWidth, height - layout.padding - layout.line - layout.padding,
          width - layout.padding, height - layout.padding};
}

void PaintBox(HWND handle, Window& box) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  const BoxLayout layout = LayoutFor();
  RECT client{};
  GetClientRect(handle, &client);
  HBRUSH white = CreateSolidBrush(kWhite);
  HBRUSH caption = CreateSolidBrush(kCaptionColour);
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
  const RECT ok = OkButton(box, layout);
  FillRect(dc, &ok, caption);
  SetTextColor(dc, kWhite);
  const std::u16string label = u"OK";
  ExtTextOutW(dc, (ok.left + ok.right - TextWidth(dc, label)) / 2, ok.top + layout.padding / 2, 0, nullptr,
              label.data(), static_cast<UINT>(label.size()), nullptr);
  DeleteObject(white);
  DeleteObject(caption);
  EndPaint(handle, &paint);
}

LRESULT CALLBACK BoxProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto box = WindowOf(handle);
  if (!box) {
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      PaintBox(handle, *box);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        EndBox(*box, IDOK);
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndBox(*box, IDOK);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT ok = OkButton(*box, LayoutFor());
      if (at.x >= ok.left && at.x < ok.right && at.y >= ok.top && at.y < ok.bottom) {
        EndBox(*box, IDOK);
      }
      return 0;
    }
    case WM_CLOSE:
      EndBox(*box, IDOK);
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

// Tall enough for the caption, the wrapped text and the button; centred in the work area.
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

bool AnswerTopmostBox() {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (!window || window->ended || window->answered ||
        (window->kind != Window::Kind::MessageBox && window->kind != Window::Kind::Dialog)) {
      continue;
    }
    window->answered = true;
    SendMessageW(candidate, WM_COMMAND, IDOK, 0);
    return true;
  }
  return false;
}

}  // namespace handset

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  using handset::Windows;
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
  if (owner != nullptr) {
    EnableWindow(owner, FALSE);
  }
  ShowWindow(box, SW_SHOW);
  if (Windows().hooks.boxOpened) {
    Windows().hooks.boxOpened(owner, title, message, type);
  }
  handset::RunModalLoop(box);
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(box);
  if (owner != nullptr && IsWindow(owner)) {
    handset::Activate(owner);
  }
  return IDOK;
}
