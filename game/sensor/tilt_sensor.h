// The tilt sensor binding: the vendor library's entry points, the handle and the one
// sample record, held for the whole run. The race core reads the sensor through these.
#pragma once

#include <windows.h>

#include <cstddef>

// The 20-byte record the sensor library fills on every read, little-endian as on the
// device. The game reads only the two angles, unsigned degrees.
struct TiltSample {
  BYTE leading[8];
  DWORD throttleAngle;
  DWORD steerAngle;
  BYTE trailing[4];
};
static_assert(sizeof(TiltSample) == 20);
static_assert(offsetof(TiltSample, throttleAngle) == 8);
static_assert(offsetof(TiltSample, steerAngle) == 12);

using HTCSensorOpenProc = HANDLE (*)(DWORD sensor);
using HTCSensorCloseProc = DWORD (*)(HANDLE sensorHandle);
using HTCSensorGetDataOutputProc = DWORD (*)(HANDLE sensorHandle, TiltSample* sample);

// Entry points, null until the library has been looked up. They are fit to be called
// only while sensorOpen is set.
extern HTCSensorOpenProc HTCSensorOpen;
extern HTCSensorCloseProc HTCSensorClose;
extern HTCSensorGetDataOutputProc HTCSensorGetDataOutput;

extern HANDLE sensorHandle;

// Starts zero-filled and is never cleared between reads: bytes a read does not write
// keep what they held.
extern TiltSample tiltSample;

// Set once the sensor has been opened, cleared when it is closed. A tick that finds it
// clear reads nothing: during start-up a message box can deliver ticks before the
// entry points exist, or after only some of them were found.
extern BOOL sensorOpen;

// Loads the sensor library, looks up its three entry points and opens the sensor.
// Returns 1 when open, 0 after a failure it has reported with a box of its own.
int OpenTiltSensor();

// The close at shutdown: one call with the handle the open gave, after which no tick
// reads any more.
void CloseTiltSensor();
