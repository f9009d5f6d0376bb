#include "window_shot.h"

#include <memory>
#include <type_traits>

namespace sensor_dll {

namespace {

struct Largest {
  HWND window = nullptr;
  LONG area = -1;
};

BOOL CALLBACK Consider(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT client{};
  if (process != GetCurrentProcessId() || IsWindowVisible(window) == FALSE || GetClientRect(window, &client) == FALSE) {
    return TRUE;
  }
  auto& largest = *reinterpret_cast<Largest*>(found);
  const LONG area = client.right * client.bottom;
  if (area > largest.area) {
    largest = {window, area};
  }
  return TRUE;
}

struct WindowDc {
  HWND window;
  HDC dc;
  ~WindowDc() {
    if (dc != nullptr) {
      ReleaseDC(window, dc);
    }
  }
};

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

}  // namespace

HWND MainWindow() {
  Largest largest;
  EnumWindows(Consider, reinterpret_cast<LPARAM>(&largest));
  return largest.window;
}

bool CaptureClient(HWND window, Picture& picture) {
  RECT client{};
  if (window == nullptr || GetClientRect(window, &client) == FALSE || client.right <= 0 || client.bottom <= 0) {
    return false;
  }
  const int width = client.right;
  const int height = client.bottom;
  const WindowDc source{window, GetDC(window)};
  if (source.dc == nullptr) {
    return false;
  }
  const std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> memory(CreateCompatibleDC(source.dc));
  const std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDeleter> bitmap(
      CreateCompatibleBitmap(source.dc, width, height));
  if (!memory || !bitmap) {
    return false;
  }
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const BOOL copied = BitBlt(memory.get(), 0, 0, width, height, source.dc, 0, 0, SRCCOPY);
  SelectObject(memory.get(), previous);
  if (copied == FALSE) {
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> bgrx(pixels * 4);
  if (GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(height), bgrx.data(), &info,
                DIB_RGB_COLORS) != height) {
    return false;
  }
  picture.width = width;
  picture.height = height;
  picture.rgb.resize(pixels * 3);
  for (std::size_t i = 0; i < pixels; ++i) {
    picture.rgb[i * 3] = bgrx[i * 4 + 2];
    picture.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
    picture.rgb[i * 3 + 2] = bgrx[i * 4];
  }
  return true;
}

}  // namespace sensor_dll
