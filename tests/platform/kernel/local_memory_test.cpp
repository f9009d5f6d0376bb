// Local memory: zeroed blocks the program writes through, and frees and sizes that are
// checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>

#include "support/fresh_handset.h"

namespace {

using LocalMemory = testsupport::FreshHandset;

TEST_F(LocalMemory, ZeroInitGivesZeroedWritableMemoryAndZeroBytesABlock) {
  auto* bytes = static_cast<unsigned char*>(LocalAlloc(LPTR, 256));
  ASSERT_NE(bytes, nullptr);
  EXPECT_TRUE(std::all_of(bytes, bytes + 256, [](unsigned char b) { return b == 0; }));
  std::memset(bytes, 0xAB, 256);
  EXPECT_EQ(LocalFree(bytes), nullptr);
  auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, 0));
  ASSERT_NE(block, nullptr);
  block[0] = 'x';
  // Left for Reset to release: the sanitizer build's leak check would catch a lost block.
}

TEST_F(LocalMemory, FreesOfMemoryItDidNotGiveOutAndImpossibleBlocksFail) {
  HLOCAL freed = LocalAlloc(LPTR, 16);
  ASSERT_EQ(LocalFree(freed), nullptr);
  HLOCAL inside = LocalAlloc(LPTR, 16);
  int onStack = 0;
  for (void* block : {freed, static_cast<void*>(&onStack), static_cast<void*>(static_cast<char*>(inside) + 1)}) {
    SetLastError(0);
    EXPECT_EQ(LocalFree(block), block);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(LocalFree(inside), nullptr);
  SetLastError(0);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), 0U);

  const std::tuple<UINT, std::size_t, DWORD> cases[] = {
      {LPTR, SIZE_MAX, ERROR_NOT_ENOUGH_MEMORY},
      {LMEM_FIXED, (std::size_t{1} << 28) + 1, ERROR_NOT_ENOUGH_MEMORY},
      {0x0002 /* LMEM_MOVEABLE */, 16, ERROR_INVALID_PARAMETER}};
  for (const auto& [flags, bytes, error] : cases) {
    SetLastError(0);
    EXPECT_EQ(LocalAlloc(flags, bytes), nullptr);
    EXPECT_EQ(GetLastError(), error);
  }
}

}  // namespace
