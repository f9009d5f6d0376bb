// Modules LoadLibraryW hands out: a shared object of ours, or a module the handset
// provides itself from a table of entry points.
#pragma once

#include <handset_device.h>
#include <windef.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/handset/module.h"

namespace handset {

// A pointer of one kind as another of the same size, without std::bit_cast, which not
// every toolchain the handset is built with has.
template <typename To, typename From>
To Reinterpret(From from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

using EntryTable = std::unordered_map<std::string, FARPROC>;

class LoadedModule : public Module {
 public:
  // The entry point `entry` exports, or null.
  [[nodiscard]] virtual FARPROC Find(const std::string& entry) const = 0;
  // Hands `device` to a module that asks for it (exports HANDSET_ATTACH_ENTRY), so a
  // vendor library meets the hardware it drives before anyone can call it.
  void Attach(const HandsetDevice* device) const;

  // The file name it was found under, case folded: what hiding compares against.
  std::string foldedName;
  // Identifies the module among those loaded (the file's absolute path for a library).
  std::string key;
  // LoadLibraryW calls not yet matched by FreeLibrary; guarded by the registry's mutex.
  int references = 0;
};

class BuiltinModule : public LoadedModule {
 public:
  explicit BuiltinModule(std::shared_ptr<const EntryTable> entries) : entries_(std::move(entries)) {}
  [[nodiscard]] FARPROC Find(const std::string& entry) const override;

 private:
  std::shared_ptr<const EntryTable> entries_;
};

class SharedLibrary : public LoadedModule {
 public:
  // Null when the loader refuses the file, and in builds that have no loader.
  static std::shared_ptr<SharedLibrary> Open(const std::filesystem::path& file);
  // Takes over `library`, a handle from dlopen.
  explicit SharedLibrary(void* library) : library_(library) {}
  [[nodiscard]] FARPROC Find(const std::string& entry) const override;

 private:
  struct Closer {
    void operator()(void* library) const;
  };
  std::unique_ptr<void, Closer> library_;
};

}  // namespace handset
