// The soft-key bar as a program describes it: an RCDATA naming a menu, then for each
// button seven words (image, command, state, style, label string, zero, pop-up index).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "gdi_handles.h"

namespace winmobile {

struct SoftKey {
  WORD command = 0;
  WORD state = 0;
  WORD style = 0;
  WORD popup = 0xFFFF;  // an index into the bar's menu, or none
  std::wstring label;
};

struct BarResource {
  std::vector<SoftKey> keys;
  UniqueMenu menu;
};

// Reads the RCDATA `id` of `instance` and what it names; nothing when any piece is missing
// or malformed, and `error` says which (`code` the matching Win32 error).
std::optional<BarResource> LoadBarResource(HINSTANCE instance, UINT id, std::wstring& error, DWORD& code);

}  // namespace winmobile
