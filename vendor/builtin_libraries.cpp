#include "builtin_libraries.h"

#include <handset_device.h>

extern "C" {
DWORD HTCNavOpen(HWND window, DWORD value);
DWORD HTCNavSetMode(HWND window, DWORD mode);
DWORD HTCNavClose(HWND window);
HANDLE HTCSensorOpen(DWORD sensor);
DWORD HTCSensorGetDataOutput(HANDLE handle, void* record);
DWORD HTCSensorClose(HANDLE handle);
void HandsetAttachDevice(const HandsetDevice* device);
}

namespace vendor {
namespace {

template <typename Function>
FARPROC Proc(Function* function) {
  return reinterpret_cast<FARPROC>(function);
}

}  // namespace

std::span<const BuiltinEntry> BuiltinEntries() {
  static const BuiltinEntry entries[] = {
      {u"HTCAPI.dll", "HTCNavOpen", Proc(HTCNavOpen)},
      {u"HTCAPI.dll", "HTCNavSetMode", Proc(HTCNavSetMode)},
      {u"HTCAPI.dll", "HTCNavClose", Proc(HTCNavClose)},
      {u"HTCAPI.dll", HANDSET_ATTACH_ENTRY, Proc(HandsetAttachDevice)},
      {u"HTCSensorSDK.dll", "HTCSensorOpen", Proc(HTCSensorOpen)},
      {u"HTCSensorSDK.dll", "HTCSensorGetDataOutput", Proc(HTCSensorGetDataOutput)},
      {u"HTCSensorSDK.dll", "HTCSensorClose", Proc(HTCSensorClose)},
      {u"HTCSensorSDK.dll", HANDSET_ATTACH_ENTRY, Proc(HandsetAttachDevice)},
  };
  return entries;
}

}  // namespace vendor
