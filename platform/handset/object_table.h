// The handset's registry of objects: every handle the game holds (device contexts,
// bitmaps, pens, modules, events ...) names one entry here. Handles are never reused,
// so a stale handle is found missing instead of naming some newer object.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace handset {

class Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;
};

class ObjectTable {
 public:
  // Registers `object` under a new handle. Handles are multiples of 4 (a window
  // handle's lowest bit is a flag to some calls) and never 0.
  void* Add(std::shared_ptr<Object> object);

  // The object behind `handle` when it is open and of type T, else null. Several
  // handles may share one object (a named event opened twice).
  template <class T>
  std::shared_ptr<T> Find(const void* handle) const {
    std::shared_ptr<Object> found = FindAny(handle);
    if (!found) {
      return nullptr;
    }
    // Most look-ups name the object's own type (every drawing call finds its context):
    // that answer needs no search of the class tree.
    const Object& object = *found;
    if (typeid(object) == typeid(T)) {
      return std::static_pointer_cast<T>(std::move(found));
    }
    return std::dynamic_pointer_cast<T>(std::move(found));
  }
  std::shared_ptr<Object> FindAny(const void* handle) const;

  // Closes `handle`; the object lives on while other handles or holders keep it.
  // Returns what the handle named, null when it was not open.
  std::shared_ptr<Object> Remove(const void* handle);

  std::size_t Size() const;

 private:
  using Map = std::unordered_map<std::uintptr_t, std::shared_ptr<Object>>;
  mutable std::mutex mutex_;
  Map objects_;
  // Entries of closed handles, kept to hold new ones: a program that makes and deletes
  // an object every frame then costs the table no allocation.
  std::vector<Map::node_type> spare_;
  std::uintptr_t next_ = 0x10000;
};

}  // namespace handset
