// The handset's registry: keys by path under the predefined roots, each with its values,
// and the windows asking to hear when a value changes.
#pragma once

#include <regext.h>
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/handset/object_table.h"

namespace handset {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct RegistryKey {
  std::map<std::u16string, RegistryValue> values;  // by lower-case name
};

// An open HKEY: the key's path, "root\sub\key" in lower case.
class OpenKey : public Object {
 public:
  std::u16string path;
};

// A registration of RegistryNotifyWindow: a message to post when the value changes.
class RegistryNotification : public Object {
 public:
  std::u16string path;
  std::u16string value;
  HWND window = nullptr;
  UINT message = 0;
  DWORD userData = 0;
};

struct RegistryState {
  std::map<std::u16string, RegistryKey> keys;  // by lower-case path
  std::vector<std::weak_ptr<RegistryNotification>> notifications;
};

RegistryState& Registry();

// The lower-case path of `subKey` under `key` (a root or an open key); empty when `key`
// is neither.
std::u16string KeyPath(HKEY key, LPCWSTR subKey);

// Posts the registered messages for a change of `value` under `path`.
void NotifyChange(const std::u16string& path, const std::u16string& value, const RegistryValue& now);

// The shell's registry notifications, exported by the built-in "aygshell.dll" under
// the names RegistryNotifyWindow and RegistryCloseNotification.
HRESULT NotifyWindowOfValue(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message, DWORD userData,
                            NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
HRESULT CloseValueNotification(HREGNOTIFY notify);

}  // namespace handset
