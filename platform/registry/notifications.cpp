// Windows told of registry changes: each registration posts its message, with its user
// data and a DWORD value's new content, whenever the value changes.
#include <algorithm>
#include <cstring>

#include "platform/handset/handset.h"
#include "platform/registry/registry_state.h"
#include "platform/window/window_names.h"

namespace handset {

void NotifyChange(const std::u16string& path, const std::u16string& value, const RegistryValue& now) {
  auto& notifications = Registry().notifications;
  std::erase_if(notifications, [](const std::weak_ptr<RegistryNotification>& n) { return n.expired(); });
  DWORD number = 0;
  if (now.type == REG_DWORD && now.data.size() == sizeof number) {
    std::memcpy(&number, now.data.data(), sizeof number);
  }
  for (const auto& weak : notifications) {
    const auto notification = weak.lock();
    if (notification && notification->path == path && notification->value == value) {
      PostMessageW(notification->window, notification->message, notification->userData, static_cast<LPARAM>(number));
    }
  }
}

HRESULT NotifyWindowOfValue(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message, DWORD userData,
                            NOTIFICATIONCONDITION* /*condition*/, HREGNOTIFY* notify) {
  const std::u16string path = KeyPath(root, subKey);
  if (notify == nullptr || path.empty() || !IsWindow(window)) {
    return E_INVALIDARG;
  }
  auto notification = std::make_shared<RegistryNotification>();
  notification->path = path;
  notification->value = FoldCase(std::u16string(valueName ? valueName : u""));
  notification->window = window;
  notification->message = message;
  notification->userData = userData;
  Registry().notifications.push_back(notification);
  *notify = static_cast<HREGNOTIFY>(TheHandset().objects.Add(std::move(notification)));
  return S_OK;
}

HRESULT CloseValueNotification(HREGNOTIFY notify) {
  if (!TheHandset().objects.Find<RegistryNotification>(notify)) {
    return E_INVALIDARG;
  }
  TheHandset().objects.Remove(notify);
  return S_OK;
}

}  // namespace handset
