// Local memory: zeroed blocks the program writes through, and frees that are checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/handset/handset.h"

namespace {

class LocalMemory : public testing::Test {
 protected:
  void SetUp() override { handset::Reset(); }
};

TEST_F(LocalMemory, ZeroInitGivesZeroedWritableMemoryAndZeroBytesABlock) {
  auto* bytes = static_cast<unsigned char*>(LocalAlloc(LPTR, 256));
  ASSERT_NE(bytes, nullptr);
  EXPECT_TRUE(std::all_of(bytes, bytes + 256, [](unsigned char b) { return b == 0; }));
  std::memset(bytes, 0xAB, 256);
  EXPECT_EQ(LocalFree(bytes), nullptr);
  auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, 0));
  ASSERT_NE(block, nullptr);
  block[0] = 'x';
  EXPECT_EQ(LocalFree(block), nullptr);
}

TEST_F(LocalMemory, FreesOfMemoryItDidNotGiveOutFail) {
  HLOCAL block = LocalAlloc(LPTR, 16);
  ASSERT_EQ(LocalFree(block), nullptr);
  SetLastError(0);
  EXPECT_EQ(LocalFree(block), block);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  int onStack = 0;
  SetLastError(0);
  EXPECT_EQ(LocalFree(&onStack), &onStack);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HLOCAL inside = LocalAlloc(LPTR, 16);
  EXPECT_EQ(LocalFree(static_cast<char*>(inside) + 1), static_cast<char*>(inside) + 1);
  EXPECT_EQ(LocalFree(inside), nullptr);

  SetLastError(0);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), 0U);
}

TEST_F(LocalMemory, AbsurdSizesAndUnknownFlagsAreRefused) {
  SetLastError(0);
  EXPECT_EQ(LocalAlloc(LPTR, SIZE_MAX), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  SetLastError(0);
  EXPECT_EQ(LocalAlloc(LMEM_FIXED, (std::size_t{1} << 28) + 1), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  SetLastError(0);
  EXPECT_EQ(LocalAlloc(0x0002 /* LMEM_MOVEABLE */, 16), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(LocalMemory, ResetReleasesWhatWasNotFreed) {
  ASSERT_NE(LocalAlloc(LPTR, 1024), nullptr);
  handset::Reset();  // the sanitizer build's leak check would catch a lost block
}

}  // namespace
