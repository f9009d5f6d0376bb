// The handset's side of modules: libraries it provides itself, and hooks that make a
// module or an entry point look missing so that the program's failure paths can run.
#pragma once

#include <handset_device.h>
#include <windef.h>

#include <string>
#include <utility>
#include <vector>

namespace handset {

// Registers a module the handset provides (say u"aygshell.dll"): LoadLibraryW finds it
// before any file, and GetProcAddressW answers from `entries`. Registering a name again
// replaces its table for later loads. False for a name LoadLibraryW could never load.
bool AddBuiltinModule(const std::u16string& name, const std::vector<std::pair<std::string, FARPROC>>& entries);

// From now on LoadLibraryW of `dll` fails with ERROR_MOD_NOT_FOUND.
void HideModule(const std::u16string& dll);

// From now on GetProcAddressW reports `function` missing in `dll`; the module still loads.
void HideEntryPoint(const std::u16string& dll, std::string function);

// What a library exporting HANDSET_ATTACH_ENTRY is handed when it is opened from now on;
// null (as after boot) opens it unattached. The device sets its own table at boot.
void SetAttachTable(const HandsetDevice* table);

}  // namespace handset
