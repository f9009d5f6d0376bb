// The vendor libraries as the handset's built-in libraries, for builds with no dynamic
// loader.
#pragma once

#include <vector>

#include "platform/host/boot.h"

std::vector<handset::host::BuiltinLibrary> VendorLibraries();
