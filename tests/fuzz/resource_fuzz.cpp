// Feeds arbitrary bytes to the .res index and then every entry to every parser, which
// must refuse or accept without reading outside what they were given.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/resources/accelerators.h"
#include "platform/resources/dialog.h"
#include "platform/resources/dib.h"
#include "platform/resources/group_icon.h"
#include "platform/resources/menu.h"
#include "platform/resources/res_index.h"
#include "platform/resources/string_table.h"
#include "platform/resources/validate.h"

namespace {

void EveryParser(std::span<const std::byte> data) {
  namespace res = handset::res;
  (void)res::ParseStringBundle(data);
  (void)res::ParseAccelerators(data);
  (void)res::ParseMenu(data);
  (void)res::ParseDialog(data);
  (void)res::DecodeDib(data);
  (void)res::DecodeIconDib(data);
  if (const auto group = res::ParseGroupIcon(data)) {
    (void)res::LargestIcon(*group);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto file = std::as_bytes(std::span(bytes, size));
  if (const auto index = handset::res::ParseResIndex(file)) {
    for (const auto& entry : *index) {
      EveryParser(entry.data);
    }
  }
  (void)handset::ValidateResources(file);
  // The raw bytes as one resource too, so the parsers are reached without a valid index.
  EveryParser(file);
  return 0;
}
