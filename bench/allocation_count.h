// How many blocks the process has allocated with operator new since it started.
#pragma once

namespace bench {

long AllocationsSoFar();

}  // namespace bench
