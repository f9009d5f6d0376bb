// A build without a dynamic loader (WebAssembly): every library the program can load is
// built in, so a file in the module folder is never a module.
#include "platform/kernel/loaded_module.h"

namespace handset {

std::shared_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& /*file*/) { return nullptr; }

void SharedLibrary::Closer::operator()(void* /*library*/) const {}

FARPROC SharedLibrary::Find(const std::string& /*entry*/) const { return nullptr; }

}  // namespace handset
