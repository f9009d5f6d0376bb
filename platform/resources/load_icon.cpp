// LoadIconW: an icon group's largest image as an HICON.
#include <windows.h>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/resources/dib.h"
#include "platform/resources/group_icon.h"
#include "platform/resources/icon.h"
#include "platform/resources/resource_state.h"

namespace handset {

std::shared_ptr<Icon> IconFromHandle(HICON handle) { return TheHandset().objects.Find<Icon>(handle); }

}  // namespace handset

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  const auto* groupEntry = handset::FindEntry("LoadIconW", instance, name, RT_GROUP_ICON);
  if (groupEntry == nullptr) {
    return nullptr;
  }
  const auto group = handset::res::ParseGroupIcon(groupEntry->data);
  if (!group) {
    handset::Refuse("LoadIconW", "the icon group is malformed", ERROR_INVALID_DATA);
    return nullptr;
  }
  const handset::res::GroupIconEntry& chosen = handset::res::LargestIcon(*group);
  const auto* imageEntry = handset::FindEntry("LoadIconW", instance, MAKEINTRESOURCEW(chosen.iconId), RT_ICON);
  if (imageEntry == nullptr) {
    return nullptr;
  }
  auto icon = std::make_shared<handset::Icon>();
  icon->width = chosen.width;
  icon->height = chosen.height;
  if (!handset::res::IsPng(imageEntry->data)) {
    auto image = handset::res::DecodeIconDib(imageEntry->data);
    if (!image) {
      handset::Refuse("LoadIconW", "the icon's image is malformed", ERROR_INVALID_DATA);
      return nullptr;
    }
    icon->width = image->width;
    icon->height = image->height;
    icon->pixels = std::move(*std::move(image)).pixels;
  }
  return static_cast<HICON>(handset::TheHandset().objects.Add(std::move(icon)));
}

BOOL DestroyIcon(HICON icon) {
  if (!handset::IconFromHandle(icon) || !handset::TheHandset().objects.Remove(icon)) {
    handset::Refuse("DestroyIcon", "not an icon", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
