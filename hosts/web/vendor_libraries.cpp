#include "vendor_libraries.h"

#include <algorithm>

#include "builtin_libraries.h"

std::vector<handset::host::BuiltinLibrary> VendorLibraries() {
  std::vector<handset::host::BuiltinLibrary> libraries;
  for (const vendor::BuiltinEntry& entry : vendor::BuiltinEntries()) {
    auto library = std::find_if(libraries.begin(), libraries.end(),
                                [&](const handset::host::BuiltinLibrary& l) { return l.name == entry.library; });
    if (library == libraries.end()) {
      library = libraries.insert(libraries.end(), {entry.library, {}});
    }
    library->entries.emplace_back(entry.name, entry.proc);
  }
  return libraries;
}
