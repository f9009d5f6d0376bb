// Each module's index, parsed once, and the look-up that every loader shares.
#include <windows.h>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/resources/resource_state.h"

namespace handset {

namespace {

constexpr WORD kPreferredLanguage = 0x0C0A;  // Spanish, modern sort
constexpr WORD kNeutral = 0;

ResourceState& State() {
  auto& slot = TheHandset().resources;
  if (!slot) {
    slot = std::make_shared<ResourceState>();
  }
  return *slot;
}

res::ResId IdOf(LPCWSTR text) {
  if (IS_INTRESOURCE(text)) {
    return {static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(text)), {}};
  }
  std::u16string name(text);
  if (name.size() > 1 && name.size() <= 6 && name[0] == u'#') {
    unsigned number = 0;
    bool digits = true;
    for (std::size_t i = 1; i < name.size(); ++i) {
      digits = digits && name[i] >= u'0' && name[i] <= u'9';
      number = number * 10 + static_cast<unsigned>(name[i] - u'0');
    }
    if (digits && number <= 0xFFFF) {
      return {static_cast<std::uint16_t>(number), {}};
    }
  }
  return {0, std::move(name)};
}

bool Matches(const res::ResId& stored, const res::ResId& wanted) {
  if (stored.IsNumber() || wanted.IsNumber()) {
    return stored.IsNumber() && wanted.IsNumber() && stored.id == wanted.id;
  }
  return res::SameName(stored.name, wanted.name);
}

}  // namespace

ModuleResources* ResourcesOf(const char* function, HMODULE module) {
  const auto record = TheHandset().objects.Find<Module>(module);
  if (!record) {
    Refuse(function, "not a module", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto& modules = State().modules;
  auto found = modules.find(module);
  if (found == modules.end()) {
    ModuleResources parsed;
    if (record->resources.empty()) {
      parsed.error = "the module has no resources";
    } else if (auto index = res::ParseResIndex(record->resources)) {
      parsed.entries = *std::move(index);
    } else {
      parsed.error = index.error();
    }
    parsed.found.resize(parsed.entries.size());
    parsed.loaded.resize(parsed.entries.size());
    found = modules.emplace(module, std::move(parsed)).first;
  }
  if (record->resources.empty()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);  // a library without resources: nothing to find
    return nullptr;
  }
  if (!found->second.error.empty()) {
    Refuse(function, "the module's resources are malformed: " + found->second.error, ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return &found->second;
}

const res::ResEntry* FindEntry(const char* function, HMODULE module, LPCWSTR name, LPCWSTR type, std::size_t* index,
                               std::optional<WORD> language) {
  ModuleResources* resources = ResourcesOf(function, module);
  if (resources == nullptr) {
    return nullptr;
  }
  if (name == nullptr || type == nullptr) {
    Refuse(function, name == nullptr ? "no name" : "no type", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const res::ResId wantedType = IdOf(type);
  const res::ResId wantedName = IdOf(name);
  bool typeSeen = false;
  bool nameSeen = false;
  std::size_t best = resources->entries.size();
  int bestRank = 3;
  for (std::size_t i = 0; i < resources->entries.size(); ++i) {
    const res::ResEntry& entry = resources->entries[i];
    if (!Matches(entry.type, wantedType)) {
      continue;
    }
    typeSeen = true;
    if (!Matches(entry.name, wantedName)) {
      continue;
    }
    nameSeen = true;
    if (language && entry.language != *language) {
      continue;
    }
    const int rank = entry.language == kPreferredLanguage ? 0 : entry.language == kNeutral ? 1 : 2;
    if (rank < bestRank) {
      best = i;
      bestRank = rank;
    }
  }
  if (best == resources->entries.size()) {
    SetLastError(nameSeen   ? ERROR_RESOURCE_LANG_NOT_FOUND
                 : typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                            : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  if (index != nullptr) {
    *index = best;
  }
  return &resources->entries[best];
}

}  // namespace handset
