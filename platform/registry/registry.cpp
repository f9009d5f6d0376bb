// Registry keys and values, in memory for the handset's run.
#include <algorithm>
#include <cstring>

#include "platform/handset/handset.h"
#include "platform/registry/registry_state.h"
#include "platform/window/window_names.h"

namespace handset {

RegistryState& Registry() {
  auto& slot = TheHandset().registry;
  if (!slot) {
    slot = std::make_shared<RegistryState>();
  }
  return *slot;
}

namespace {

std::u16string RootName(HKEY key) {
  switch (reinterpret_cast<std::uintptr_t>(key)) {
    case 0x80000000U:
      return u"hkey_classes_root";
    case 0x80000001U:
      return u"hkey_current_user";
    case 0x80000002U:
      return u"hkey_local_machine";
    case 0x80000003U:
      return u"hkey_users";
    default:
      return {};
  }
}

// Separators collapse and the ends trim, so "a\\b\" and "a\b" name one key.
std::u16string Normalised(std::u16string_view subKey) {
  std::u16string out;
  for (const char16_t c : subKey) {
    if (c == u'\\') {
      if (!out.empty() && out.back() != u'\\') {
        out += c;
      }
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == u'\\') {
    out.pop_back();
  }
  return FoldCase(out);
}

std::u16string_view Text(LPCWSTR text) { return text == nullptr ? std::u16string_view{} : std::u16string_view(text); }

}  // namespace

std::u16string KeyPath(HKEY key, LPCWSTR subKey) {
  std::u16string base = RootName(key);
  if (base.empty()) {
    const auto open = TheHandset().objects.Find<OpenKey>(key);
    if (!open) {
      return {};
    }
    base = open->path;
  }
  const std::u16string sub = Normalised(Text(subKey));
  return sub.empty() ? base : base + u"\\" + sub;
}

}  // namespace handset

namespace {

LONG OpenPath(const std::u16string& path, PHKEY result) {
  auto key = std::make_shared<handset::OpenKey>();
  key->path = path;
  *result = static_cast<HKEY>(handset::TheHandset().objects.Add(std::move(key)));
  return ERROR_SUCCESS;
}

// A key's parents exist whenever it does, as keys made one level at a time.
void CreatePath(const std::u16string& path) {
  auto& keys = handset::Registry().keys;
  for (std::size_t at = path.find(u'\\'); at != std::u16string::npos; at = path.find(u'\\', at + 1)) {
    keys.try_emplace(path.substr(0, at));
  }
  keys.try_emplace(path);
}

}  // namespace

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD /*options*/, REGSAM /*access*/, PHKEY result) {
  if (result == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *result = nullptr;
  const std::u16string path = handset::KeyPath(root, subKey);
  if (path.empty()) {
    return ERROR_INVALID_HANDLE;
  }
  const bool isRoot = path.find(u'\\') == std::u16string::npos;
  if (!isRoot && !handset::Registry().keys.contains(path)) {
    return ERROR_FILE_NOT_FOUND;
  }
  return OpenPath(path, result);
}

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD /*reserved*/, LPWSTR /*keyClass*/, DWORD /*options*/,
                     REGSAM /*access*/, LPSECURITY_ATTRIBUTES /*security*/, PHKEY result, LPDWORD disposition) {
  if (result == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *result = nullptr;
  const std::u16string path = handset::KeyPath(root, subKey);
  if (path.empty()) {
    return ERROR_INVALID_HANDLE;
  }
  const bool existed = handset::Registry().keys.contains(path);
  CreatePath(path);
  if (disposition != nullptr) {
    *disposition = existed ? 2U : 1U;  // REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY
  }
  return OpenPath(path, result);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data, LPDWORD size) {
  const std::u16string path = handset::KeyPath(key, nullptr);
  if (path.empty()) {
    return ERROR_INVALID_HANDLE;
  }
  const auto found = handset::Registry().keys.find(path);
  if (found == handset::Registry().keys.end()) {
    return ERROR_FILE_NOT_FOUND;
  }
  const auto value = found->second.values.find(handset::FoldCase(std::u16string(valueName ? valueName : u"")));
  if (value == found->second.values.end()) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (type != nullptr) {
    *type = value->second.type;
  }
  const auto needed = static_cast<DWORD>(value->second.data.size());
  if (data != nullptr) {
    if (size == nullptr) {
      return ERROR_INVALID_PARAMETER;
    }
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    std::memcpy(data, value->second.data.data(), needed);
  }
  if (size != nullptr) {
    *size = needed;
  }
  return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD size) {
  const std::u16string path = handset::KeyPath(key, nullptr);
  if (path.empty()) {
    return ERROR_INVALID_HANDLE;
  }
  if (data == nullptr && size != 0) {
    return ERROR_INVALID_PARAMETER;
  }
  CreatePath(path);
  const std::u16string name = handset::FoldCase(std::u16string(valueName ? valueName : u""));
  handset::RegistryValue now{type, std::vector<BYTE>(data, data + size)};
  handset::RegistryValue& stored = handset::Registry().keys[path].values[name];
  const bool changed = stored.type != now.type || stored.data != now.data;
  stored = now;
  if (changed) {
    handset::NotifyChange(path, name, now);
  }
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  if (!handset::TheHandset().objects.Find<handset::OpenKey>(key)) {
    return ERROR_INVALID_HANDLE;
  }
  handset::TheHandset().objects.Remove(key);
  return ERROR_SUCCESS;
}
