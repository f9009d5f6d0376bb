// The names LoadLibraryW accepts and where it finds them on disk.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace handset {

// The file name `name` asks for, in UTF-8, with ".dll" added when it has no extension.
// Null for a name that is empty, not well-formed, or reaches outside the module folder
// (a separator, a drive, "..").
std::optional<std::string> ModuleFileName(std::u16string_view name);

// The regular file in `folder` whose name matches `fileName` without regard to case
// (an exact match first), as an absolute path; null when there is none.
std::optional<std::filesystem::path> FindModuleFile(const std::filesystem::path& folder, const std::string& fileName);

}  // namespace handset
