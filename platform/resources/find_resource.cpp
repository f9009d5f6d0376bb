// FindResourceW and friends: handles over the entries of a module's index. Each
// entry gets one HRSRC and one HGLOBAL, made when first asked for.
#include <windows.h>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/resources/resource_handles.h"
#include "platform/resources/resource_state.h"

namespace {

HRSRC HandleFor(const char* function, HMODULE module, const handset::res::ResEntry* entry, std::size_t index) {
  if (entry == nullptr) {
    return nullptr;
  }
  handset::ModuleResources* resources = handset::ResourcesOf(function, module);
  HRSRC& handle = resources->found[index];
  if (handle == nullptr) {
    handle =
        static_cast<HRSRC>(handset::TheHandset().objects.Add(std::make_shared<handset::FoundResource>(module, index)));
  }
  return handle;
}

// The entry behind `resource` when it was found in `module`.
const handset::res::ResEntry* EntryOf(const char* function, HMODULE module, HRSRC resource, std::size_t* index) {
  handset::ModuleResources* resources = handset::ResourcesOf(function, module);
  if (resources == nullptr) {
    return nullptr;
  }
  const auto found = handset::TheHandset().objects.Find<handset::FoundResource>(resource);
  if (!found || found->module != module || found->index >= resources->entries.size()) {
    handset::Refuse(function, "not a resource found in this module", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  *index = found->index;
  return &resources->entries[found->index];
}

}  // namespace

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  std::size_t index = 0;
  const auto* entry = handset::FindEntry("FindResourceW", module, name, type, &index);
  return HandleFor("FindResourceW", module, entry, index);
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
  std::size_t index = 0;
  const auto* entry = handset::FindEntry("FindResourceExW", module, name, type, &index, language);
  return HandleFor("FindResourceExW", module, entry, index);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  std::size_t index = 0;
  const handset::res::ResEntry* entry = EntryOf("LoadResource", module, resource, &index);
  if (entry == nullptr) {
    return nullptr;
  }
  HGLOBAL& handle = handset::ResourcesOf("LoadResource", module)->loaded[index];
  if (handle == nullptr) {
    handle = handset::TheHandset().objects.Add(std::make_shared<handset::LoadedResource>(entry->data));
  }
  return handle;
}

LPVOID LockResource(HGLOBAL data) {
  const auto loaded = handset::TheHandset().objects.Find<handset::LoadedResource>(data);
  if (!loaded) {
    handset::Refuse("LockResource", "not a loaded resource", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Resources are read-only; the Win32 signature hands them out as LPVOID all the same.
  return const_cast<std::byte*>(loaded->data.data());
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  std::size_t index = 0;
  const handset::res::ResEntry* entry = EntryOf("SizeofResource", module, resource, &index);
  return entry == nullptr ? 0 : static_cast<DWORD>(entry->data.size());
}
