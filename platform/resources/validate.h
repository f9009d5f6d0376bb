// The check a host runs at boot over its embedded resources.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace handset {

// Empty when the .res and every resource of a kind the handset reads parse; otherwise
// one line naming the first fault and where it is.
std::string ValidateResources(std::span<const std::byte> file);

}  // namespace handset
