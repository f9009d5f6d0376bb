// A module the handset knows: the program itself (with its compiled resources) or a
// library loaded by name. Its handle is the HINSTANCE/HMODULE the game holds.
#pragma once

#include <windef.h>

#include <cstddef>
#include <span>
#include <string>

#include "platform/handset/object_table.h"

namespace handset {

class Module : public Object {
 public:
  // The name it was loaded by, e.g. u"HTCSensorSDK.dll", or the program's own name.
  std::u16string name;
  // The module's compiled resource file (.res); empty when it has none. The bytes
  // belong to the module's image and outlive the handset.
  std::span<const std::byte> resources;
};

// Registers the running program as a module and returns its instance handle.
HINSTANCE AddProgramModule(std::u16string name, std::span<const std::byte> resources);

}  // namespace handset
