// The program's resources, read from the compiled resource file embedded in it.
#pragma once

#include "windef.h"
