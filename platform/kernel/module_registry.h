// What the kernel knows about modules: the built-in tables, the hidden names, and the
// modules loaded now (one handle each, however often loaded).
#pragma once

#include <handset_device.h>
#include <windef.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "platform/kernel/loaded_module.h"

namespace handset {

struct ModuleRegistry {
  std::mutex mutex;
  // By folded file name.
  std::map<std::string, std::shared_ptr<const EntryTable>> builtins;
  std::set<std::string> hiddenModules;
  std::set<std::pair<std::string, std::string>> hiddenEntries;
  // By LoadedModule::key.
  std::map<std::string, HMODULE> loaded;
  const HandsetDevice* attachTable = nullptr;
};

}  // namespace handset
