// The program's own module.
#include "platform/handset/module.h"

#include "platform/handset/handset.h"

namespace handset {

HINSTANCE AddProgramModule(std::u16string name, std::span<const std::byte> resources) {
  auto module = std::make_shared<Module>();
  module->name = std::move(name);
  module->resources = resources;
  TheHandset().program = module->name;
  return static_cast<HINSTANCE>(TheHandset().objects.Add(std::move(module)));
}

}  // namespace handset
