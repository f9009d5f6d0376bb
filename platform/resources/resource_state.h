// The resources area's part of the handset: each module's parsed index, kept from the
// first look-up on, and the handles already given out for its entries so that asking
// twice for one resource does not grow the handle table.
#pragma once

#include <windef.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/handset/module.h"
#include "platform/resources/res_index.h"

namespace handset {

struct ModuleResources {
  std::vector<res::ResEntry> entries;
  std::string error;            // why the module's .res was refused; empty when fine
  std::vector<HRSRC> found;     // per entry, once FindResourceW gave it out
  std::vector<HGLOBAL> loaded;  // per entry, once LoadResource gave it out
};

struct ResourceState {
  std::map<const void*, ModuleResources> modules;  // by module handle; handles are never reused
};

// The module's parsed resources, or null with the last error set: ERROR_INVALID_HANDLE
// for a handle that is not an open module, ERROR_RESOURCE_DATA_NOT_FOUND when it has
// no usable resources. A bad handle or malformed resources are refusals of `function`.
ModuleResources* ResourcesOf(const char* function, HMODULE module);

// The entry named `name` of type `type` (each a MAKEINTRESOURCE number, a "#123"
// string or a name matched regardless of case), preferring Spanish (0x0C0A), then
// neutral, then any language; only `language` when given. Null with the last error set
// when there is none; a missing name or type is a refusal of `function`.
const res::ResEntry* FindEntry(const char* function, HMODULE module, LPCWSTR name, LPCWSTR type,
                               std::size_t* index = nullptr, std::optional<WORD> language = std::nullopt);

}  // namespace handset
