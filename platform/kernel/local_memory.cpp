// LocalAlloc and LocalFree over blocks the heap record owns.
#include <windows.h>

#include <memory>
#include <new>
#include <string>

#include "platform/handset/refuse.h"
#include "platform/kernel/kernel_state.h"

using handset::Kernel;
using handset::LocalHeap;

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & ~LMEM_ZEROINIT) != 0) {
    // Only fixed memory exists here; a moveable block would need LocalLock.
    handset::Refuse("LocalAlloc", "unsupported flags " + handset::Hex(flags & ~LMEM_ZEROINIT), ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bytes > handset::kMaxLocalBytes) {
    handset::Refuse("LocalAlloc", "more than the handset's " + std::to_string(handset::kMaxLocalBytes) + " bytes",
                    ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const std::size_t size = bytes == 0 ? 1 : bytes;
  std::unique_ptr<std::byte[]> block;
  try {
#ifdef __cpp_lib_smart_ptr_for_overwrite
    // Left as it comes without LMEM_ZEROINIT, so memcheck sees a read of what was never written.
    block = (flags & LMEM_ZEROINIT) != 0 ? std::make_unique<std::byte[]>(size)
                                         : std::make_unique_for_overwrite<std::byte[]>(size);
#else
    block = std::make_unique<std::byte[]>(size);
#endif
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HLOCAL memory = block.get();
  LocalHeap& heap = Kernel().heap;
  const std::lock_guard lock(heap.mutex);
  heap.blocks.emplace(memory, std::move(block));
  return memory;
}

HLOCAL LocalFree(HLOCAL memory) {
  if (memory == nullptr) {
    return nullptr;
  }
  LocalHeap& heap = Kernel().heap;
  const std::lock_guard lock(heap.mutex);
  if (heap.blocks.erase(memory) == 0) {
    handset::Refuse("LocalFree", "not a block of LocalAlloc", ERROR_INVALID_HANDLE);
    return memory;
  }
  return nullptr;
}
