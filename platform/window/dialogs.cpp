// Modal dialogs from templates: DialogBoxIndirectParamW and EndDialog. The dialog draws
// its controls itself; they are not windows of their own.
#include <winbase.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_state.h"
#include "platform/handset/refuse.h"
#include "platform/resources/icon.h"
#include "platform/resources/resource_access.h"
#include "platform/window/dialog_layout.h"
#include "platform/window/modal_loop.h"
#include "platform/window/text_wrap.h"
#include "platform/window/window_names.h"
#include "platform/window/window_state.h"
#include "platform/window/window_tree.h"

namespace handset {

namespace {

constexpr char16_t kDialogClass[] = u"#handset-dialog";
constexpr std::uint16_t kStaticAtom = 0x82;
constexpr DWORD kStaticType = 0x1F;
constexpr DWORD kLeftNoWordWrap = 0x0C;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

// What a control shows, in the dialog's client coordinates.
struct DialogControl {
  RECT rect{};
  std::u16string text;
  UINT align = SS_LEFT;
  bool wrap = true;
  HICON icon = nullptr;
};

struct DialogData {
  DLGPROC procedure = nullptr;
  std::vector<DialogControl> controls;
};

namespace {

LPCWSTR ResourceName(const res::ResId& id) { return id.IsNumber() ? MAKEINTRESOURCEW(id.id) : id.name.c_str(); }

// Statics show their text or icon; other controls show their text plainly; controls
// without WS_VISIBLE are left out.
std::vector<DialogControl> ControlsOf(const res::DialogTemplate& dialog, const BaseUnits& units, HINSTANCE instance) {
  std::vector<DialogControl> controls;
  for (const res::DialogItem& item : dialog.items) {
    if ((item.style & WS_VISIBLE) == 0) {
      continue;
    }
    DialogControl control;
    control.rect = UnitsToPixels(units, item.x, item.y, item.cx, item.cy);
    // By its atom, or by name as some resource compilers write it.
    const bool isStatic =
        item.windowClass.IsNumber() ? item.windowClass.id == kStaticAtom : FoldCase(item.windowClass.name) == u"static";
    const DWORD type = item.style & kStaticType;
    if (isStatic && type == SS_ICON) {
      // A missing icon leaves the control empty, as on Windows.
      control.icon = LoadIconW(instance, ResourceName(item.text));
      if (control.icon == nullptr) {
        continue;
      }
    } else if (!item.text.IsNumber()) {
      if (isStatic && type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != kLeftNoWordWrap) {
        continue;  // frames, rectangles and bitmaps are not drawn
      }
      control.text = isStatic ? ShownText(item.text.name, (item.style & SS_NOPREFIX) != 0) : item.text.name;
      control.align = isStatic && type != kLeftNoWordWrap ? type : SS_LEFT;
      control.wrap = !isStatic || type != kLeftNoWordWrap;
    } else {
      continue;
    }
    controls.push_back(std::move(control));
  }
  return controls;
}

std::uint32_t Blend(std::uint32_t over, std::uint32_t under, std::uint32_t alpha) {
  std::uint32_t out = 0;
  for (const unsigned shift : {0U, 8U, 16U}) {
    const std::uint32_t a = (over >> shift) & 0xFFU;
    const std::uint32_t b = (under >> shift) & 0xFFU;
    out |= ((a * alpha + b * (255U - alpha) + 127U) / 255U) << shift;
  }
  return out;
}

// At its own size, blended by its alpha; a PNG icon has no pixels and draws nothing.
void DrawIconAt(HDC dc, HICON handle, int x, int y) {
  const auto icon = IconFromHandle(handle);
  const auto context = ContextOf(dc);
  if (!icon || !context || icon->pixels.empty()) {
    return;
  }
  const Target target = context->DrawTarget();
  if (!target.draw) {
    return;
  }
  for (int row = 0; row < icon->height; ++row) {
    const std::int64_t deviceY = context->DeviceY(y + row);
    if (deviceY < 0 || deviceY >= target.bitmap->Height()) {
      continue;
    }
    for (int column = 0; column < icon->width; ++column) {
      const std::int64_t deviceX = context->DeviceX(x + column);
      const std::uint32_t pixel = icon->pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(icon->width) +
                                               static_cast<std::size_t>(column)];
      const std::uint32_t alpha = pixel >> 24U;
      if (alpha == 0 || deviceX < 0 || deviceX >= target.bitmap->Width()) {
        continue;
      }
      const std::uint32_t under = target.bitmap->At(static_cast<int>(deviceX), static_cast<int>(deviceY));
      PutPixel(target, deviceX, deviceY, Blend(pixel & 0xFFFFFFU, under, alpha));
    }
  }
}

void DrawText(HDC dc, const DialogControl& control) {
  const int width = control.rect.right - control.rect.left;
  const int line = SystemFont().Height();
  std::vector<std::u16string> lines;
  if (control.wrap) {
    lines = WrapText(dc, control.text, width);
  } else {
    lines.push_back(control.text);
  }
  int y = control.rect.top;
  for (const std::u16string& text : lines) {
    if (y >= control.rect.bottom) {
      break;
    }
    int x = control.rect.left;
    if (control.align == SS_CENTER) {
      x += (width - TextWidth(dc, text)) / 2;
    } else if (control.align == SS_RIGHT) {
      x += width - TextWidth(dc, text);
    }
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &control.rect, text.data(), static_cast<UINT>(text.size()), nullptr);
    y += line;
  }
}

void PaintDialog(HWND handle, const DialogData& dialog) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  RECT client{};
  GetClientRect(handle, &client);
  HBRUSH white = CreateSolidBrush(kWhite);
  FillRect(dc, &client, white);
  DeleteObject(white);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBlack);
  for (const DialogControl& control : dialog.controls) {
    if (control.icon != nullptr) {
      DrawIconAt(dc, control.icon, control.rect.left, control.rect.top);
    } else {
      DrawText(dc, control);
    }
  }
  EndPaint(handle, &paint);
}

// What a dialog does with a message its procedure left alone.
LRESULT DefaultDialogHandling(HWND handle, Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintDialog(handle, *window.dialog);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background
    case WM_CLOSE:
      PostMessageW(handle, WM_COMMAND, IDCANCEL, 0);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        SendMessageW(handle, WM_COMMAND, wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
      }
      return 0;
    case WM_COMMAND:
    case WM_INITDIALOG:
      return 0;
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

LRESULT CALLBACK DialogProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto window = WindowOf(handle);
  if (!window || !window->dialog) {
    // Before the dialog's set-up: its creation messages.
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  const auto dialog = window->dialog;  // the procedure may end and destroy the window
  if (message == WM_DESTROY) {
    for (DialogControl& control : dialog->controls) {
      if (control.icon != nullptr) {
        DestroyIcon(control.icon);
        control.icon = nullptr;
      }
    }
  }
  const INT_PTR handled = dialog->procedure != nullptr ? dialog->procedure(handle, message, wParam, lParam) : FALSE;
  if (handled != FALSE) {
    if (message == WM_PAINT && window->invalid) {
      ValidateRect(handle, nullptr);  // a procedure that took the paint without painting
    }
    return message == WM_INITDIALOG ? handled : 0;
  }
  if (message == WM_DESTROY || !IsWindow(handle)) {
    return 0;
  }
  return DefaultDialogHandling(handle, *window, message, wParam, lParam);
}

void RegisterDialogClass() {
  if (Windows().classes.contains(kDialogClass)) {
    return;
  }
  WNDCLASSW dialogClass{};
  dialogClass.lpfnWndProc = DialogProcedure;
  dialogClass.lpszClassName = kDialogClass;
  RegisterClassW(&dialogClass);
}

}  // namespace

}  // namespace handset

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC procedure,
                                LPARAM initParam) {
  using handset::Windows;
  constexpr char kFunction[] = "DialogBoxIndirectParamW";
  const auto bytes = handset::ResourceBytesAt(kFunction, dialogTemplate);
  if (!bytes) {
    return -1;
  }
  const auto parsed = handset::res::ParseDialog(*bytes);
  if (!parsed) {
    handset::Refuse(kFunction, "the dialog template is malformed", ERROR_INVALID_DATA);
    return -1;
  }
  if (!parsed->menu.IsNumber() || parsed->menu.id != 0 || !parsed->windowClass.IsNumber() ||
      parsed->windowClass.id != 0) {
    // Menus and dialog classes of the program's own are not part of this handset.
    handset::Refuse(kFunction, "dialogs with a menu or a class of their own are not supported",
                    ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (owner != nullptr && !IsWindow(owner)) {
    handset::Refuse(kFunction, "the owner is not a window", ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  handset::RegisterDialogClass();
  const handset::BaseUnits units = handset::DialogBaseUnits();
  const RECT place = handset::PlaceDialog(units, *parsed);
  DWORD exStyle = parsed->exStyle;
  if (const auto ownerWindow = handset::WindowOf(owner); ownerWindow && (ownerWindow->exStyle & WS_EX_TOPMOST) != 0) {
    exStyle |= WS_EX_TOPMOST;  // an owned window stays above its owner
  }
  // Shown only once WM_INITDIALOG has had its say about size and place.
  HWND handle =
      CreateWindowExW(exStyle, handset::kDialogClass, parsed->title.c_str(), parsed->style & ~WS_VISIBLE, place.left,
                      place.top, place.right - place.left, place.bottom - place.top, owner, nullptr, instance, nullptr);
  if (handle == nullptr) {
    return -1;
  }
  // Kept past the window's destruction: the result lives here.
  const auto window = handset::WindowOf(handle);
  window->kind = handset::Window::Kind::Dialog;
  auto data = std::make_shared<handset::DialogData>();
  data->procedure = procedure;
  data->controls = handset::ControlsOf(*parsed, units, instance);
  window->dialog = std::move(data);

  // The owner is given back its input only if it had it.
  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner) != FALSE;
  if (ownerWasEnabled) {
    EnableWindow(owner, FALSE);
  }
  SendMessageW(handle, WM_INITDIALOG, 0, initParam);
  INT_PTR result = window->result;
  if (!window->ended && IsWindow(handle)) {
    ShowWindow(handle, SW_SHOW);
    result = handset::RunModalLoop(handle);
  }
  if (ownerWasEnabled && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(handle);
  if (owner != nullptr && IsWindow(owner)) {
    handset::Activate(owner);
  }
  return window->ended ? window->result : result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  const auto window = handset::WindowOf(dialog);
  if (!window || window->kind != handset::Window::Kind::Dialog) {
    handset::Refuse("EndDialog", "not a dialog", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Wakes the dialog's loop, which may be waiting when EndDialog comes from outside it.
  handset::EndBox(*window, result);
  return TRUE;
}
