// An HACCEL: the entries of a loaded accelerator table, for TranslateAcceleratorW.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/handset/object_table.h"

namespace handset {

class AcceleratorTable : public Object {
 public:
  std::vector<ACCEL> entries;
};

// The table behind `handle`, or null.
std::shared_ptr<AcceleratorTable> AcceleratorsFromHandle(HACCEL handle);

}  // namespace handset
