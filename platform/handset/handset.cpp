// The one handset record.
#include "platform/handset/handset.h"

namespace handset {

namespace {
std::unique_ptr<Handset>& Slot() {
  static std::unique_ptr<Handset> handset = std::make_unique<Handset>();
  return handset;
}
}  // namespace

Handset& TheHandset() { return *Slot(); }

void Reset() { Slot() = std::make_unique<Handset>(); }

}  // namespace handset
