// The device's sensor service, as far as a program meets it: the named event it makes
// when it starts, which the program opens and sets.
#pragma once

#include <windows.h>

namespace winmobile {

class SensorService {
 public:
  SensorService();
  ~SensorService();
  SensorService(const SensorService&) = delete;
  SensorService& operator=(const SensorService&) = delete;

 private:
  HANDLE event_;
};

}  // namespace winmobile
