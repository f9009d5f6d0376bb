// The phone's sensor service: it holds its start event from boot, takes each set of it
// as its start or stop signal, and writes the screen's orientation to the registry
// value programs watch.
#pragma once

#include <windef.h>

namespace handset {

inline constexpr char16_t kServiceEvent[] = u"HTC_GSENSOR_SERVICESTART";
inline constexpr char16_t kServiceKey[] = u"Software\\HTC\\HTCSensor\\GSensor";
inline constexpr char16_t kServiceValue[] = u"EventChanged";

// With `stopsEarly`, the service lets its event go after the first signal, so the
// program's stop finds it gone.
void StartSensorServiceOfDevice(bool stopsEarly);

// Signals the service has taken, and whether it is running (started, not stopped).
int SensorServiceSignals();
bool SensorServiceRunning();

}  // namespace handset
