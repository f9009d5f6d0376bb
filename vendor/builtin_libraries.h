// The vendor libraries as a build without a dynamic loader carries them: each entry
// point under the Windows name of the library that exports it.
#pragma once

#include <windows.h>

#include <span>

namespace vendor {

struct BuiltinEntry {
  const char16_t* library;
  const char* name;
  FARPROC proc;
};

std::span<const BuiltinEntry> BuiltinEntries();

}  // namespace vendor
