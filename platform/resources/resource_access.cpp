// Menus, dialog templates and RCDATA, parsed for the handset's other areas.
#include "platform/resources/resource_access.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/resources/resource_handles.h"
#include "platform/resources/resource_state.h"

namespace handset {

namespace {

template <class T>
std::optional<T> Valid(const char* function, res::Parsed<T> parsed, const char* what) {
  if (!parsed) {
    Refuse(function, std::string(what) + " is malformed", ERROR_INVALID_DATA);
    return std::nullopt;
  }
  return *std::move(parsed);
}

}  // namespace

std::optional<res::Menu> FindMenu(HINSTANCE instance, LPCWSTR name, const char* function) {
  const auto* entry = FindEntry(function, instance, name, RT_MENU);
  return entry == nullptr ? std::nullopt : Valid(function, res::ParseMenu(entry->data), "the menu");
}

std::optional<res::DialogTemplate> FindDialogTemplate(HINSTANCE instance, LPCWSTR name, const char* function) {
  const auto* entry = FindEntry(function, instance, name, RT_DIALOG);
  return entry == nullptr ? std::nullopt : Valid(function, res::ParseDialog(entry->data), "the dialog template");
}

std::optional<std::span<const std::byte>> FindRcData(HINSTANCE instance, LPCWSTR name, const char* function) {
  const auto* entry = FindEntry(function, instance, name, RT_RCDATA);
  if (entry == nullptr) {
    return std::nullopt;
  }
  return entry->data;
}

std::optional<std::span<const std::byte>> ResourceBytesAt(const char* function, const void* at) {
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
  Refuse(function, at == nullptr ? "no resource" : "the address lies in no loaded resource", ERROR_INVALID_PARAMETER);
  return std::nullopt;
}

}  // namespace handset
