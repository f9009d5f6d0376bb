// The fast path of sin and cos: double-double arithmetic on the reduced argument, with a
// proven error bound, and the test whether that bound decides the rounding.
#pragma once

#include <cstdint>

namespace crt {

// sin|x| (shift 0) or cos|x| (shift 1) for finite |x| >= 2^-27 given by its bits, correctly
// rounded; false, and nothing written, where the bound leaves the rounding open.
bool FastPath(std::uint64_t abs_bits, unsigned shift, double& out);

}  // namespace crt
