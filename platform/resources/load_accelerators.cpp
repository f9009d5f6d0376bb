// LoadAcceleratorsW: the table's entries copied into an HACCEL.
#include <windows.h>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/resources/accelerator_table.h"
#include "platform/resources/accelerators.h"
#include "platform/resources/resource_state.h"

namespace handset {

std::shared_ptr<AcceleratorTable> AcceleratorsFromHandle(HACCEL handle) {
  return TheHandset().objects.Find<AcceleratorTable>(handle);
}

}  // namespace handset

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
  const auto* entry = handset::FindEntry("LoadAcceleratorsW", instance, name, RT_ACCELERATOR);
  if (entry == nullptr) {
    return nullptr;
  }
  const auto parsed = handset::res::ParseAccelerators(entry->data);
  if (!parsed) {
    handset::Refuse("LoadAcceleratorsW", "the accelerator table is malformed", ERROR_INVALID_DATA);
    return nullptr;
  }
  auto table = std::make_shared<handset::AcceleratorTable>();
  for (const auto& accel : *parsed) {
    table->entries.push_back({accel.flags, accel.key, accel.command});
  }
  return static_cast<HACCEL>(handset::TheHandset().objects.Add(std::move(table)));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  if (!handset::AcceleratorsFromHandle(table) || !handset::TheHandset().objects.Remove(table)) {
    handset::Refuse("DestroyAcceleratorTable", "not an accelerator table", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
