// What both stand-in vendor libraries share: the handset's table, kept from attach, and
// the report of every call they receive.
#pragma once

#include <handset_device.h>
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#define VENDOR_EXPORT extern "C" __attribute__((visibility("default")))

namespace vendor {

// The table the handset handed over at load; null until then.
const HandsetDevice*& Device();

inline HandsetCallArg Number(std::int64_t value) { return {HANDSET_ARG_NUMBER, value}; }
inline HandsetCallArg Window(HWND window) {
  return {HANDSET_ARG_WINDOW, static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(window))};
}
inline HandsetCallArg Handle(const void* handle) {
  return {HANDSET_ARG_HANDLE, static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(handle))};
}

void Report(const char* function, std::initializer_list<HandsetCallArg> args);

}  // namespace vendor
