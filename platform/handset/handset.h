// The handset's whole state, one record: its objects, the last error and the screen
// facts every area reads. Each area keeps its own state behind a pointer here, so that
// a test can start from a fresh handset with Reset().
#pragma once

#include <windef.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/handset/host_hooks.h"
#include "platform/handset/object_table.h"

namespace handset {

struct GdiState;       // gdi/gdi_state.h
struct ResourceState;  // resources/resource_state.h
struct KernelState;    // kernel/kernel_state.h
struct WindowState;    // window/window_state.h
struct RegistryState;  // registry/registry_state.h
struct DeviceState;    // device/device.h
struct SessionState;   // session/session.cpp

struct Handset {
  ObjectTable objects;
  DWORD lastError = 0;
  int dpi = 192;
  // Where LoadLibraryW finds modules by name.
  std::filesystem::path moduleFolder;
  // The running program's name, once its module is registered; it names its session.
  std::u16string program;
  // Set by the host: told of calls turned down (see handset/refuse.h), messages,
  // boxes and the vendor libraries' calls.
  HostHooks hooks;
  // How many calls were turned down, so that a call whose inner look-up failed can tell
  // whether the look-up has reported it already.
  std::uint64_t refusals = 0;
  // Off when nobody looks at the pixels (a replay without screenshots): drawing calls do
  // all they do but write them. `pixelsSkipped` stays set once they were off, since the
  // bitmaps then hold stale pixels for the rest of the handset's life.
  bool drawPixels = true;
  bool pixelsSkipped = false;

  // Made on first use by each area (shared_ptr so this header needs only the names).
  std::shared_ptr<GdiState> gdi;
  std::shared_ptr<ResourceState> resources;
  std::shared_ptr<KernelState> kernel;
  std::shared_ptr<WindowState> window;
  std::shared_ptr<RegistryState> registry;
  std::shared_ptr<DeviceState> device;
  std::shared_ptr<SessionState> session;
};

Handset& TheHandset();

// Drops every object and area state: the next call sees a handset as after boot.
void Reset();

}  // namespace handset
