// The layer's own record of each window it looks after, kept by handle while the window
// lives. Everything runs on the program's one thread, so no lock.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

namespace winmobile {

template <typename Record>
class WindowRecords {
 public:
  std::shared_ptr<Record> Add(HWND window, std::shared_ptr<Record> record = std::make_shared<Record>()) {
    records_[window] = record;
    return record;
  }
  // Callers hold the result for the whole of a message: the window, and with it its
  // record, may be destroyed meanwhile.
  std::shared_ptr<Record> Find(HWND window) const {
    const auto found = records_.find(window);
    return found == records_.end() ? nullptr : found->second;
  }
  void Remove(HWND window) { records_.erase(window); }

 private:
  std::map<HWND, std::shared_ptr<Record>> records_;
};

}  // namespace winmobile
