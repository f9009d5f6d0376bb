#include "bar_resource.h"

#include <aygshell.h>

#include <cstring>

namespace winmobile {

namespace {
// A left and a right key; more buttons would have nowhere to go.
constexpr std::size_t kMaxButtons = 2;
constexpr std::size_t kWordsPerButton = 7;
}  // namespace

std::optional<BarResource> LoadBarResource(HINSTANCE instance, UINT id, std::wstring& error, DWORD& code) {
  const auto fail = [&](const std::wstring& reason, DWORD why) {
    error = reason;
    code = why;
    return std::nullopt;
  };
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
  const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) {
    return fail(L"no bar resource " + std::to_wstring(id), ERROR_RESOURCE_NAME_NOT_FOUND);
  }
  std::vector<WORD> words(SizeofResource(instance, found) / sizeof(WORD));
  std::memcpy(words.data(), data, words.size() * sizeof(WORD));
  if (words.size() < 2 || words[1] > kMaxButtons || words.size() < 2 + words[1] * kWordsPerButton) {
    return fail(L"the bar resource " + std::to_wstring(id) + L" is malformed", ERROR_INVALID_DATA);
  }
  BarResource bar;
  bar.menu.reset(LoadMenuW(instance, MAKEINTRESOURCEW(words[0])));
  if (!bar.menu) {
    return fail(L"no menu " + std::to_wstring(words[0]) + L" for the bar", ERROR_RESOURCE_NAME_NOT_FOUND);
  }
  for (std::size_t i = 0; i < words[1]; ++i) {
    const WORD* button = &words[2 + i * kWordsPerButton];
    SoftKey key{button[1], button[2], button[3], button[6], {}};
    const bool hasPopup = key.popup != NOMENU;
    if (hasPopup && GetSubMenu(bar.menu.get(), key.popup) == nullptr) {
      return fail(L"a key names no pop-up of the bar's menu", ERROR_INVALID_DATA);
    }
    if ((key.style & TBSTYLE_DROPDOWN) != 0 && !hasPopup) {
      return fail(L"a drop-down key has no pop-up", ERROR_INVALID_DATA);
    }
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, button[4], reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
      return fail(L"no string " + std::to_wstring(button[4]) + L" for a key's label", ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    key.label.assign(text, static_cast<std::size_t>(length));
    bar.keys.push_back(std::move(key));
  }
  return bar;
}

}  // namespace winmobile
