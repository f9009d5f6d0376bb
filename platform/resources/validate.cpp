// Every resource of a kind the handset reads goes through its parser, so a malformed
// file fails at boot rather than at the first menu or dialog.
#include "platform/resources/validate.h"

#include <set>

#include "platform/resources/accelerators.h"
#include "platform/resources/dialog.h"
#include "platform/resources/dib.h"
#include "platform/resources/group_icon.h"
#include "platform/resources/menu.h"
#include "platform/resources/res_index.h"
#include "platform/resources/string_table.h"

namespace handset {

namespace {

enum Kind : std::uint16_t {
  kBitmap = 2,
  kIcon = 3,
  kMenu = 4,
  kDialog = 5,
  kString = 6,
  kAccelerator = 9,
  kGroupIcon = 14,
};

// The fault in one entry, or empty.
std::string Check(const res::ResEntry& entry, const std::set<std::uint16_t>& icons) {
  if (!entry.type.IsNumber()) {
    return {};
  }
  switch (entry.type.id) {
    case kBitmap: {
      const auto image = res::DecodeDib(entry.data);
      return image ? std::string() : image.error();
    }
    case kIcon: {
      if (res::IsPng(entry.data)) {
        return {};
      }
      const auto image = res::DecodeIconDib(entry.data);
      return image ? std::string() : image.error();
    }
    case kMenu: {
      const auto menu = res::ParseMenu(entry.data);
      return menu ? std::string() : menu.error();
    }
    case kDialog: {
      const auto dialog = res::ParseDialog(entry.data);
      return dialog ? std::string() : dialog.error();
    }
    case kString: {
      if (!entry.name.IsNumber() || entry.name.id == 0 || entry.name.id > 4096) {
        return "string bundle name is not a bundle number";
      }
      const auto bundle = res::ParseStringBundle(entry.data);
      return bundle ? std::string() : bundle.error();
    }
    case kAccelerator: {
      const auto table = res::ParseAccelerators(entry.data);
      return table ? std::string() : table.error();
    }
    case kGroupIcon: {
      const auto group = res::ParseGroupIcon(entry.data);
      if (!group) {
        return group.error();
      }
      for (const res::GroupIconEntry& image : *group) {
        if (!icons.contains(image.iconId)) {
          return "icon group names icon image " + std::to_string(image.iconId) + ", which is missing";
        }
      }
      return {};
    }
    default:
      return {};
  }
}

}  // namespace

std::string ValidateResources(std::span<const std::byte> file) {
  const auto index = res::ParseResIndex(file);
  if (!index) {
    return "resources: " + index.error();
  }
  std::set<std::uint16_t> icons;
  for (const res::ResEntry& entry : *index) {
    if (entry.type == res::ResId{kIcon, {}} && entry.name.IsNumber()) {
      icons.insert(entry.name.id);
    }
  }
  for (const res::ResEntry& entry : *index) {
    if (std::string fault = Check(entry, icons); !fault.empty()) {
      return "resources: " + res::Describe(entry) + ": " + fault;
    }
  }
  return {};
}

}  // namespace handset
