#include "device_link.h"

namespace vendor {

const HandsetDevice*& Device() {
  static const HandsetDevice* device = nullptr;
  return device;
}

void Report(const char* function, std::initializer_list<HandsetCallArg> args) {
  const HandsetDevice* device = Device();
  if (device != nullptr && device->reportCall != nullptr) {
    device->reportCall(function, args.begin(), static_cast<std::uint32_t>(args.size()));
  }
}

}  // namespace vendor

VENDOR_EXPORT void HandsetAttachDevice(const HandsetDevice* device) {
  // A table from an older handset that lacks the fields we read is not used.
  const bool complete = device != nullptr && device->size >= sizeof(HandsetDevice);
  vendor::Device() = complete ? device : nullptr;
}
