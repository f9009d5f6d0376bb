// Files the handset writes for its host (screenshots): whole or not at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace handset {

// Writes `bytes` as `file`: into a fresh temporary beside it, made here and never a link
// or a file someone else put there, then renamed over it. A `file` that exists and is
// not a regular file is left alone. The file gets the mode any new file gets under the
// umask. False with `error` set; nothing is replaced then, and no temporary is left.
bool WriteWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, std::string& error);

}  // namespace handset
