// Shared objects of ours, loaded with the system's dynamic loader.
#include <dlfcn.h>
#include <link.h>

#include "platform/kernel/loaded_module.h"

namespace handset {

std::shared_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& file) {
  // `file` is absolute, so the loader never searches its own paths for it.
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return nullptr;
  }
  return std::make_shared<SharedLibrary>(library);
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
