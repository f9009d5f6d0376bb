// The kernel state slot in the handset record.
#include "platform/kernel/kernel_state.h"

#include "platform/handset/handset.h"

namespace handset {

KernelState& Kernel() {
  std::shared_ptr<KernelState>& slot = TheHandset().kernel;
  if (!slot) {
    slot = std::make_shared<KernelState>();
  }
  return *slot;
}

}  // namespace handset
