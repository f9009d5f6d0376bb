// Vireta as every host runs it: its name, title, resources, WinMain and the screen it
// needs; and, for the headless host, its part of the trace.
#pragma once

#include "handset_boot.h"

void DescribeVireta(kit::HostProgram& program);
