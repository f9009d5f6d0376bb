#include "sensor_service.h"

namespace winmobile {

SensorService::SensorService() : event_(CreateEventW(nullptr, TRUE, FALSE, L"HTC_GSENSOR_SERVICESTART")) {}

SensorService::~SensorService() {
  if (event_ != nullptr) {
    CloseHandle(event_);
  }
}

}  // namespace winmobile
