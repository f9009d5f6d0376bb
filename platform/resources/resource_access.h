// Parsed resources for the handset's other areas: the window system builds menus and
// dialogs from these, and a host reads its RCDATA. Each returns nothing with the last
// error set when the resource is missing, ERROR_INVALID_DATA when it is malformed; a
// malformed one is refused on behalf of `function`, the call that wanted it.
#pragma once

#include <windef.h>

#include <cstddef>
#include <optional>
#include <span>

#include "platform/resources/dialog.h"
#include "platform/resources/menu.h"

namespace handset {

std::optional<res::Menu> FindMenu(HINSTANCE instance, LPCWSTR name, const char* function = "FindMenu");
std::optional<res::DialogTemplate> FindDialogTemplate(HINSTANCE instance, LPCWSTR name,
                                                      const char* function = "FindDialogTemplate");
// The bytes belong to the module and live as long as it.
std::optional<std::span<const std::byte>> FindRcData(HINSTANCE instance, LPCWSTR name,
                                                     const char* function = "FindRcData");

// The loaded resource `at` names, as LoadResource returned it (its handle, or a pointer
// into its bytes as LockResource gives them): from `at` to the end of that resource.
// Nothing, with ERROR_INVALID_PARAMETER, when `at` is null or lies in no resource that
// was looked up: a refusal of `function`.
std::optional<std::span<const std::byte>> ResourceBytesAt(const char* function, const void* at);

}  // namespace handset
