// LoadStringW over the string bundles.
#include <windows.h>

#include <algorithm>

#include "platform/handset/refuse.h"
#include "platform/resources/resource_state.h"
#include "platform/resources/string_table.h"

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max) {
  if (buffer == nullptr || max < 0) {
    handset::Refuse("LoadStringW", buffer == nullptr ? "no buffer" : "a negative buffer size", ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (max > 0) {
    buffer[0] = 0;  // so a caller ignoring the result still holds a valid string
  }
  const auto* entry =
      handset::FindEntry("LoadStringW", instance, MAKEINTRESOURCEW(handset::res::BundleOf(id)), RT_STRING);
  if (entry == nullptr) {
    return 0;
  }
  const auto bundle = handset::res::ParseStringBundle(entry->data);
  if (!bundle) {
    handset::Refuse("LoadStringW", "the string bundle is malformed", ERROR_INVALID_DATA);
    return 0;
  }
  const std::u16string_view text = (*bundle)[handset::res::SlotOf(id)];
  if (text.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (max == 0) {
    *reinterpret_cast<LPCWSTR*>(buffer) = text.data();
    return static_cast<int>(text.size());
  }
  const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(max) - 1);
  std::copy_n(text.data(), copied, buffer);
  buffer[copied] = 0;
  return static_cast<int>(copied);
}
