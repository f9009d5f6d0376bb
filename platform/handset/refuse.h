// How the handset turns a call down: the last error, as a Win32 program reads it, and a
// report to the host, so that a program that never looks at the result is still seen.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace handset {

// Sets the last error to `error` and tells the host's `refused` hook, if one is set, that
// `function` turned its arguments down for `reason`. Returns nothing, so that a caller
// can write `return Refuse(...), FALSE;`.
void Refuse(const char* function, std::string_view reason, DWORD error);

// `value` as 0x and its hex digits, for reasons that name flags.
std::string Hex(std::uint32_t value);

}  // namespace handset
