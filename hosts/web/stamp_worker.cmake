# cmake -DIN=service-worker.js -DOUT=... -DFILES="a;b" -P stamp_worker.cmake: the service
# worker with its cache named for the page's files, so a new build replaces the old cache.
set(contents "")
foreach(file IN LISTS FILES)
  file(SHA256 "${file}" hash)
  string(APPEND contents "${hash}")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING "${version}" 0 16 version)
file(READ "${IN}" worker)
string(REPLACE "@VERSION@" "${version}" worker "${worker}")
file(WRITE "${OUT}.part" "${worker}")
file(RENAME "${OUT}.part" "${OUT}")
