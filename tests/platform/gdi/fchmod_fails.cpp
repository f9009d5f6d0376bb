// Preloaded under the whole-file test: fchmod fails as it does on FAT and exFAT media,
// where a file's mode cannot be changed.
#include <sys/stat.h>

#include <cerrno>

extern "C" int fchmod(int /*fd*/, mode_t /*mode*/) {
  errno = EPERM;
  return -1;
}
