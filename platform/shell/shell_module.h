// The built-in "aygshell.dll": programs that load the shell by name find its calls here.
#pragma once

namespace handset {

// Registers "aygshell.dll" with the shell's exports; a fresh handset needs it again.
void RegisterShellModule();

}  // namespace handset
