// Entry points of built-in modules, and the device handed to a module that asks.
#include "platform/kernel/loaded_module.h"

namespace handset {

void LoadedModule::Attach(const HandsetDevice* device) const {
  if (const FARPROC entry = Find(HANDSET_ATTACH_ENTRY); entry != nullptr && device != nullptr) {
    Reinterpret<HandsetAttachProc>(entry)(device);
  }
}

FARPROC BuiltinModule::Find(const std::string& entry) const {
  const auto found = entries_->find(entry);
  return found == entries_->end() ? nullptr : found->second;
}

}  // namespace handset
