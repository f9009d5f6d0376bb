// What HRSRC and HGLOBAL name for a resource: the entry found in a module, and its
// data once loaded.
#pragma once

#include <cstddef>
#include <span>

#include "platform/handset/object_table.h"

namespace handset {

class FoundResource : public Object {
 public:
  FoundResource(const void* owner, std::size_t at) : module(owner), index(at) {}
  const void* module;  // the HMODULE it was found in
  std::size_t index;   // its entry in that module's index
};

class LoadedResource : public Object {
 public:
  explicit LoadedResource(std::span<const std::byte> bytes) : data(bytes) {}
  std::span<const std::byte> data;
};

}  // namespace handset
