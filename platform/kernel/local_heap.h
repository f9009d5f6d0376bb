// The blocks LocalAlloc gave out, so that LocalFree can refuse any other pointer.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace handset {

// Larger requests fail as out of memory: the handset had far less than this.
inline constexpr std::size_t kMaxLocalBytes = std::size_t{1} << 28;

struct LocalHeap {
  std::mutex mutex;
  std::unordered_map<const void*, std::unique_ptr<std::byte[]>> blocks;
};

}  // namespace handset
