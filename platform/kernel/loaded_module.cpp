// Entry points of built-in modules and of shared objects.
#include "platform/kernel/loaded_module.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace handset {
namespace {

// A pointer of one kind as another of the same size, without std::bit_cast, which not
// every toolchain the handset is built with has.
template <typename To, typename From>
To Reinterpret(From from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

}  // namespace

FARPROC BuiltinModule::Find(const std::string& entry) const {
  const auto found = entries_->find(entry);
  return found == entries_->end() ? nullptr : found->second;
}

std::shared_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& file, const HandsetDevice* attach) {
  // `file` is absolute, so the loader never searches its own paths for it.
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return nullptr;
  }
  auto module = std::make_shared<SharedLibrary>(library);
  // A vendor library meets the hardware it drives before anyone can call it.
  if (const FARPROC entry = module->Find(HANDSET_ATTACH_ENTRY); entry != nullptr && attach != nullptr) {
    Reinterpret<HandsetAttachProc>(entry)(attach);
  }
  return module;
}

void SharedLibrary::Closer::operator()(void* library) const { dlclose(library); }

FARPROC SharedLibrary::Find(const std::string& entry) const {
  dlerror();
  void* symbol = dlsym(library_.get(), entry.c_str());
  if (symbol == nullptr) {
    return nullptr;
  }
  // dlsym also searches the libraries this one depends on; a module exports only what
  // it defines itself.
  link_map* own = nullptr;
  link_map* definer = nullptr;
  Dl_info info{};
  if (dlinfo(library_.get(), RTLD_DI_LINKMAP, &own) != 0 ||
      dladdr1(symbol, &info, reinterpret_cast<void**>(&definer), RTLD_DL_LINKMAP) == 0 || definer != own) {
    return nullptr;
  }
  return Reinterpret<FARPROC>(symbol);
}

}  // namespace handset
