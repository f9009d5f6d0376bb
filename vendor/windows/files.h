// The library's own file reads and writes, with Windows' wide names.
#pragma once

#include <cstddef>
#include <string>

namespace sensor_dll {

// The whole of `file`, up to `most` bytes (more is read as `most` + 1, for the caller to
// refuse); false with `error` ("FILE: cannot read: why").
bool ReadWhole(const std::wstring& file, std::size_t most, std::string& bytes, std::string& error);

// True for an existing folder ("" is the current one).
bool IsFolder(const std::wstring& folder);

// Writes `bytes` as `name` in `folder`: into a new file only this write could have made,
// then renamed over `name`, which replaces a link planted there instead of writing
// through it and leaves the old file whole when the write fails.
bool WriteInto(const std::wstring& folder, const std::wstring& name, const std::string& bytes, std::string& error);

}  // namespace sensor_dll
