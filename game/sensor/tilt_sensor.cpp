// Program-wide values of the tilt sensor binding, apart from the procedures that bind
// them, so the race core links with the values alone.
#include "sensor/tilt_sensor.h"

HTCSensorOpenProc HTCSensorOpen = nullptr;
HTCSensorCloseProc HTCSensorClose = nullptr;
HTCSensorGetDataOutputProc HTCSensorGetDataOutput = nullptr;

HANDLE sensorHandle = nullptr;
TiltSample tiltSample = {};
BOOL sensorOpen = FALSE;
