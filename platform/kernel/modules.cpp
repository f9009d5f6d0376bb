// LoadLibraryW, FreeLibrary, GetProcAddressW and the handset's module hooks.
#include "platform/kernel/modules.h"

#include <windows.h>

#include <cstdint>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/kernel/kernel_state.h"
#include "platform/kernel/module_name.h"
#include "platform/kernel/wide_text.h"

namespace handset {

namespace {

// The folded file name for a hook, or the name folded as given when LoadLibraryW would
// refuse it anyway.
std::string FoldedModuleName(const std::u16string& dll) {
  if (std::optional<std::string> file = ModuleFileName(dll)) {
    return FoldCase(*file);
  }
  return FoldCase(Utf8FromWide(dll).value_or(std::string()));
}

// The handle for `file`, loading it unless it is loaded already; with the registry
// locked. Null with the last error set when there is no such module.
HMODULE Load(ModuleRegistry& registry, const std::string& file, std::u16string_view asked) {
  const std::string folded = FoldCase(file);
  const auto builtin = registry.builtins.find(folded);
  std::optional<std::filesystem::path> path;
  std::string key;
  if (builtin != registry.builtins.end()) {
    key = "builtin:" + folded;
  } else {
    path = FindModuleFile(TheHandset().moduleFolder, file);
    if (!path) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    key = path->string();
  }
  if (const auto loaded = registry.loaded.find(key); loaded != registry.loaded.end()) {
    if (const auto module = TheHandset().objects.Find<LoadedModule>(loaded->second)) {
      ++module->references;
      return loaded->second;
    }
    registry.loaded.erase(loaded);
  }
  std::shared_ptr<LoadedModule> module;
  if (path) {
    // Its constructors run with the registry locked: as under Windows' loader lock, they
    // must not load modules themselves.
    module = SharedLibrary::Open(*path);
    if (!module) {
      SetLastError(ERROR_BAD_EXE_FORMAT);
      return nullptr;
    }
  } else {
    module = std::make_shared<BuiltinModule>(builtin->second);
  }
  module->Attach(registry.attachTable);
  module->name = std::u16string(asked);
  module->foldedName = folded;
  module->key = key;
  module->references = 1;
  auto* const handle = static_cast<HMODULE>(TheHandset().objects.Add(module));
  registry.loaded.emplace(std::move(key), handle);
  return handle;
}

}  // namespace

bool AddBuiltinModule(const std::u16string& name, const std::vector<std::pair<std::string, FARPROC>>& entries) {
  const std::optional<std::string> file = ModuleFileName(name);
  if (!file) {
    return false;
  }
  auto table = std::make_shared<EntryTable>();
  for (const auto& [entry, proc] : entries) {
    if (proc != nullptr) {
      table->insert_or_assign(entry, proc);
    }
  }
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  registry.builtins.insert_or_assign(FoldCase(*file), std::move(table));
  return true;
}

void HideModule(const std::u16string& dll) {
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  registry.hiddenModules.insert(FoldedModuleName(dll));
}

void HideEntryPoint(const std::u16string& dll, std::string function) {
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  registry.hiddenEntries.emplace(FoldedModuleName(dll), std::move(function));
}

void SetAttachTable(const HandsetDevice* table) {
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  registry.attachTable = table;
}

}  // namespace handset

using handset::Kernel;
using handset::LoadedModule;
using handset::ModuleRegistry;

HMODULE LoadLibraryW(LPCWSTR name) {
  if (name == nullptr) {
    handset::Refuse("LoadLibraryW", "no name", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::u16string_view asked(name);
  const std::optional<std::string> file = handset::ModuleFileName(asked);
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  if (!file || registry.hiddenModules.contains(handset::FoldCase(*file))) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return handset::Load(registry, *file, asked);
}

BOOL FreeLibrary(HMODULE module) {
  // Unloaded only after the lock is released, in case the library's own teardown
  // calls back into the kernel.
  std::shared_ptr<handset::Object> unloaded;
  ModuleRegistry& registry = Kernel().modules;
  const std::lock_guard lock(registry.mutex);
  const std::shared_ptr<LoadedModule> loaded = handset::TheHandset().objects.Find<LoadedModule>(module);
  if (!loaded) {
    handset::Refuse("FreeLibrary", "not a loaded library", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--loaded->references == 0) {
    registry.loaded.erase(loaded->key);
    unloaded = handset::TheHandset().objects.Remove(module);
  }
  return TRUE;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
  const std::shared_ptr<handset::Module> found = handset::TheHandset().objects.Find<handset::Module>(module);
  if (!found) {
    handset::Refuse("GetProcAddressW", "not a module", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // A "name" below 0x10000 is an ordinal and must not be read as text.
  if (reinterpret_cast<std::uintptr_t>(name) < 0x10000) {
    handset::Refuse("GetProcAddressW", "entries are found by name only, not by ordinal", ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const auto loaded = std::dynamic_pointer_cast<LoadedModule>(found);
  if (!loaded) {
    SetLastError(ERROR_PROC_NOT_FOUND);  // the program's own module exports nothing
    return nullptr;
  }
  const std::optional<std::string> entry = handset::Utf8FromWide(name);
  FARPROC proc = nullptr;
  if (entry && !entry->empty()) {
    ModuleRegistry& registry = Kernel().modules;
    const std::lock_guard lock(registry.mutex);
    if (!registry.hiddenEntries.contains({loaded->foldedName, *entry})) {
      proc = loaded->Find(*entry);
    }
  }
  if (proc == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
  }
  return proc;
}
