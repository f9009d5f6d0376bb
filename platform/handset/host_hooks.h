// What the handset tells its host while the program runs. Each hook may be empty; with
// none, a program runs on its own.
#pragma once

#include <handset_device.h>
#include <winuser.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace handset {

struct HostHooks {
  // GetMessageW found nothing ready: deliver input, move the clock on, or end the session
  // (EndSession). False when it did none of these.
  std::function<bool()> idle;
  // Before a window procedure gets a message, dispatched or sent.
  std::function<void(const MSG&)> delivering;
  // After a window procedure handled a message through DispatchMessageW, and through
  // SendMessageW.
  std::function<void(const MSG&)> afterDispatch;
  std::function<void(const MSG&)> afterSend;
  // A message box opened.
  std::function<void(HWND owner, const std::u16string& caption, const std::u16string& text, UINT style)> boxOpened;
  // A vendor library reported a call; the views last as long as the call, so the
  // sensor's every read costs no allocation.
  std::function<void(std::string_view function, std::span<const HandsetCallArg> args)> deviceCall;
  // The handset refused a call of the program: the function, and why in a few words.
  std::function<void(std::string_view function, std::string_view reason)> refused;
};

}  // namespace handset
