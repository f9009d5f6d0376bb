// The program's compiled resources, embedded at build time by vireta_add_resources()
// (cmake/Resources.cmake); each executable that embeds a script defines this once.
#pragma once

#include <cstddef>
#include <span>

std::span<const std::byte> EmbeddedResources();
