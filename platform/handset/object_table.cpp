// Handle allocation and look-up for the handset's registry.
#include "platform/handset/object_table.h"

namespace handset {

namespace {
constexpr std::size_t kSpareEntries = 16;
}  // namespace

void* ObjectTable::Add(std::shared_ptr<Object> object) {
  const std::lock_guard lock(mutex_);
  const std::uintptr_t handle = next_;
  next_ += 4;
  if (spare_.empty()) {
    objects_.emplace(handle, std::move(object));
  } else {
    Map::node_type entry = std::move(spare_.back());
    spare_.pop_back();
    entry.key() = handle;
    entry.mapped() = std::move(object);
    objects_.insert(std::move(entry));
  }
  return reinterpret_cast<void*>(handle);  // handles are opaque numbers
}

std::shared_ptr<Object> ObjectTable::FindAny(const void* handle) const {
  const std::lock_guard lock(mutex_);
  const auto found = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  return found == objects_.end() ? nullptr : found->second;
}

std::shared_ptr<Object> ObjectTable::Remove(const void* handle) {
  const std::lock_guard lock(mutex_);
  const auto found = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == objects_.end()) {
    return nullptr;
  }
  Map::node_type entry = objects_.extract(found);
  std::shared_ptr<Object> object = std::move(entry.mapped());
  if (spare_.size() < kSpareEntries) {
    spare_.push_back(std::move(entry));
  }
  return object;
}

std::size_t ObjectTable::Size() const {
  const std::lock_guard lock(mutex_);
  return objects_.size();
}

}  // namespace handset
