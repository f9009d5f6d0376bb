// Program-wide values of the tilt sensor binding.
#include "sensor/tilt_sensor.h"

HTCSensorOpenProc HTCSensorOpen = nullptr;
HTCSensorCloseProc HTCSensorClose = nullptr;
HTCSensorGetDataOutputProc HTCSensorGetDataOutput = nullptr;

HANDLE sensorHandle = nullptr;
TiltSample tiltSample = {};
BOOL sensorOpen = FALSE;
