// The handset's sin and cos must be correctly rounded, bit for bit: against the values
// trig_reference.py writes into the build folder, one test a set so that a failure names
// its set, and against the hardest cases it found and the special values, kept here so
// that they run without it.
#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/crt/trig.h"

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }
double Double(std::uint64_t b) { return std::bit_cast<double>(b); }

struct Expected {
  std::uint64_t x, sin, cos;
};

// Any NaN stands for any other: only its being NaN is promised.
bool Same(std::uint64_t want, double got) { return std::isnan(Double(want)) ? std::isnan(got) : Bits(got) == want; }

// Both functions over cases: the count of mismatches, and the first few spelt out.
void ExpectCorrectlyRounded(const std::vector<Expected>& cases) {
  std::size_t wrong = 0;
  std::string first;
  for (const Expected& c : cases) {
    const double got[] = {crt::Sin(Double(c.x)), crt::Cos(Double(c.x))};
    const std::uint64_t want[] = {c.sin, c.cos};
    for (int f = 0; f < 2; ++f) {
      if (!Same(want[f], got[f]) && ++wrong <= 8) {
        char line[96];
        std::snprintf(line, sizeof line, "\n  %s(%016" PRIx64 "): want %016" PRIx64 ", got %016" PRIx64,
                      f == 0 ? "sin" : "cos", c.x, want[f], Bits(got[f]));
        first += line;
      }
    }
  }
  EXPECT_EQ(wrong, 0u) << "of " << 2 * cases.size() << " values; the first:" << first;
}

// A set's file: records of three little-endian words, the argument, its sine, its cosine;
// none at all when it ends inside a record.
std::vector<Expected> ReadSet(const std::string& name) {
  static_assert(std::endian::native == std::endian::little && sizeof(Expected) == 24);
  std::ifstream in(std::string(CRT_REFERENCE_DIR) + "/" + name + ".bin", std::ios::binary);
  std::vector<Expected> cases;
  for (Expected record{}; in.read(reinterpret_cast<char*>(&record), sizeof record);) {
    cases.push_back(record);
  }
  return in.gcount() == 0 ? cases : std::vector<Expected>{};
}

class ReferenceSet : public testing::TestWithParam<const char*> {};

TEST_P(ReferenceSet, EveryValueCorrectlyRounded) {
  const std::vector<Expected> cases = ReadSet(GetParam());
  ASSERT_FALSE(cases.empty()) << "no whole records in " CRT_REFERENCE_DIR "/" << GetParam() << ".bin";
  ExpectCorrectlyRounded(cases);
}

// Degrees as the game converts them (k up to 100,000, and any unsigned 32-bit k), the road
// table's angles, the dial's needle, a million doubles of every exponent, and the doubles
// nearest to multiples of pi/2.
INSTANTIATE_TEST_SUITE_P(Trig, ReferenceSet,
                         testing::Values("degrees", "degrees_u32", "road", "needle", "random", "half_pi"),
                         [](const testing::TestParamInfo<const char*>& set) { return std::string(set.param); });

// The arguments whose sine or cosine lies closest to a midpoint between doubles, in ulps
// of the result: the hardest of the sets above, and of k * factor over every 32-bit k.
TEST(Trig, HardestCases) {
  const std::vector<Expected> cases = {
      {0x418dd9511c5979d9, 0x3fef4167812ca41b, 0x3fcb7340d3378e32},  // 3586582330 degrees: sin 2^-36.1 ulp
      {0x416c3924a1473b6e, 0xbf71f68d67bf58cf, 0xbfefffebd535e797},  // 847811021 degrees: sin 2^-35.3
      {0x41739bf7c8951958, 0x3fef41a09e6791af, 0xbfcb6f3000ea5fa8},  // 1178103759 degrees: cos 2^-34.1
      {0x417c9067f065561d, 0xbfe0400074b92d59, 0xbfeb9124476a6c28},  // 1716101213 degrees: cos 2^-33.4
      {0x4155d0c32c2ef739, 0xbfefe97574d9728f, 0x3fb2fa5b4244921d},  // 327662930 degrees: sin 2^-33.4
      {0x40961e8bc3938e39, 0x3fee12270ec62506, 0xbfd5e29c47cea6b6},  // 81110 degrees: cos 2^-17.1
      {0x408bec4f4ce7d27d, 0x3fef0c93d50f694e, 0x3fcef8a981ea0277},  // 51196 degrees: sin 2^-16.2
      {0x402eed5f21f49f4a, 0x3fcef751ff91489f, 0xbfef0ca93ef18210},  // 886 degrees: sin 2^-9.8
      {0x402858eb799f0e87, 0xbfd87de2a70706a3, 0x3fed906bcf204043},  // the road's 63rd angle: cos 2^-11.9
      {0x400abefe2caa7305, 0xbfc9a37a3c826116, 0xbfef59fbc8f4f703},  // a needle angle: cos 2^-19.1
      {0xfc686119392c9cff, 0x3fecddad493ee363, 0xbfdb9f80d0d896f8},  // -1.9e291: sin 2^-19.9
      {0x3eabcd94000fee33, 0x3eabcd94000feab3, 0x3feffffffffff3ec},  // 8.3e-7: sin 2^-19.3
      {0xbe46a0a0ef8f03e1, 0xbe46a0a0ef8f03e1, 0x3fefffffffffffff},  // -1.05e-8: cos 2^-19.2
      {0x58ab01ba31b74d0b, 0xbff0000000000000, 0xbc9401e0a82a7e57},  // 1.4e119, by a multiple of pi/2: cos 2^-10.3
  };
  ExpectCorrectlyRounded(cases);
}

constexpr std::uint64_t NAN_BITS = 0x7ff8000000000000;
constexpr std::uint64_t ONE = 0x3ff0000000000000;

TEST(Trig, SpecialValues) {
  const std::vector<Expected> cases = {
      {0x0000000000000000, 0x0000000000000000, ONE},  // sin keeps the sign of zero
      {0x8000000000000000, 0x8000000000000000, ONE},
      {0x0000000000000001, 0x0000000000000001, ONE},  // subnormals
      {0x8000000000000001, 0x8000000000000001, ONE},
      {0x000fffffffffffff, 0x000fffffffffffff, ONE},
      {0x0010000000000000, 0x0010000000000000, ONE},                 // smallest normal
      {0x3e50000000000000, 0x3e50000000000000, 0x3fefffffffffffff},  // 2^-26
      {0x3e57137449123ef6, 0x3e57137449123ef6, 0x3feffffffffffffe},  // the last x whose sine is x
      {0x3e57137449123ef7, 0x3e57137449123ef6, 0x3feffffffffffffe},
      {0x3e46a09e667f3bcc, 0x3e46a09e667f3bcc, ONE},  // the last x whose cosine is 1
      {0x3e46a09e667f3bcd, 0x3e46a09e667f3bcd, 0x3fefffffffffffff},
      {0x3ff921fb54442d18, ONE, 0x3c91a62633145c07},  // pi/2, pi, 3pi/2, 2pi as doubles
      {0x400921fb54442d18, 0x3ca1a62633145c07, 0xbff0000000000000},
      {0x4012d97c7f3321d2, 0xbff0000000000000, 0xbcaa79394c9e8a0a},
      {0x401921fb54442d18, 0xbcb1a62633145c07, ONE},
      {0x7506ac5b262ca1ff, ONE, 0xbc214ae72e6ba22f},                 // the double nearest a multiple of pi/2
      {0x4046c6cbc45dc8de, ONE, 0xbc26d61b58c99c43},                 // ... and the nearest below 2^6
      {0x4480f0cf064dd592, 0xbfeb453ab76bf397, 0x3fe0be2cef01c8f4},  // 1e22
      {0x7fe0000000000000, 0x3fe205248cbdb760, 0xbfea719f26c232bf},  // 2^1023
      {0x7fefffffffffffff, 0x3f7452fc98b34e97, 0xbfefffe62ecfab75},  // the largest double
      {0xffefffffffffffff, 0xbf7452fc98b34e97, 0xbfefffe62ecfab75},
      {0x7ff0000000000000, NAN_BITS, NAN_BITS},  // infinities and NaNs, signalling and negative too
      {0xfff0000000000000, NAN_BITS, NAN_BITS},
      {0x7ff8000000000000, NAN_BITS, NAN_BITS},
      {0xfff8000000000000, NAN_BITS, NAN_BITS},
      {0x7ff0000000000001, NAN_BITS, NAN_BITS},
  };
  ExpectCorrectlyRounded(cases);
}

}  // namespace
