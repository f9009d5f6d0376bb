#include "platform/gdi/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace handset {

bool WriteWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, std::string& error) {
  const auto fail = [&](const std::string& why) {
    error = "cannot write " + file.string() + ": " + why;
    return false;
  };
  struct stat there {};
  if (lstat(file.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
    return fail("it is there and not a regular file");
  }
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) {
    folder = ".";
  }
  std::string name = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
  std::vector<char> temporary(name.begin(), name.end());
  temporary.push_back('\0');
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) {
    return fail(std::strerror(errno));
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t step = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (step < 0 && errno == EINTR) {
      continue;
    }
    if (step <= 0) {
      break;
    }
    written += static_cast<std::size_t>(step);
  }
  const int writeError = written == bytes.size() ? 0 : errno;
  // mkstemp makes the file private; a picture is for the user's other programs too.
  const bool closed = fchmod(descriptor, 0644) == 0 && close(descriptor) == 0;
  if (writeError != 0 || !closed || rename(temporary.data(), file.c_str()) != 0) {
    const int why = writeError != 0 ? writeError : errno;
    unlink(temporary.data());
    return fail(std::strerror(why != 0 ? why : EIO));
  }
  return true;
}

}  // namespace handset
