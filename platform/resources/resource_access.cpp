// Menus, dialog templates and RCDATA, parsed for the handset's other areas.
#include "resources/resource_access.h"

#include <windows.h>

#include <cstdint>

#include "handset/handset.h"
#include "resources/resource_handles.h"
#include "resources/resource_state.h"

namespace handset {

namespace {

template <class T>
std::optional<T> Valid(res::Parsed<T> parsed) {
  if (!parsed) {
    SetLastError(ERROR_INVALID_DATA);
    return std::nullopt;
  }
  return *std::move(parsed);
}

}  // namespace

std::optional<res::Menu> FindMenu(HINSTANCE instance, LPCWSTR name) {
  const auto* entry = FindEntry(instance, name, RT_MENU);
  return entry == nullptr ? std::nullopt : Valid(res::ParseMenu(entry->data));
}

std::optional<res::DialogTemplate> FindDialogTemplate(HINSTANCE instance, LPCWSTR name) {
  const auto* entry = FindEntry(instance, name, RT_DIALOG);
  return entry == nullptr ? std::nullopt : Valid(res::ParseDialog(entry->data));
}

std::optional<std::span<const std::byte>> FindRcData(HINSTANCE instance, LPCWSTR name) {
  const auto* entry = FindEntry(instance, name, RT_RCDATA);
  if (entry == nullptr) {
    return std::nullopt;
  }
  return entry->data;
}

std::optional<std::span<const std::byte>> ResourceBytesAt(const void* at) {
  if (at != nullptr) {
    if (const auto loaded = TheHandset().objects.Find<LoadedResource>(at)) {
      return loaded->data;
    }
    // Compared as addresses: the pointer may belong to no resource at all.
    const auto address = reinterpret_cast<std::uintptr_t>(at);
    if (const auto& state = TheHandset().resources) {
      for (const auto& [module, resources] : state->modules) {
        for (const res::ResEntry& entry : resources.entries) {
          const auto begin = reinterpret_cast<std::uintptr_t>(entry.data.data());
          if (address >= begin && address < begin + entry.data.size()) {
            return entry.data.subspan(address - begin);
          }
        }
      }
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return std::nullopt;
}

}  // namespace handset
