// Text for hosts, over the handset's own conversions.
#include "platform/host/text.h"

#include "platform/kernel/wide_text.h"

namespace handset::host {

std::optional<std::string> Utf8FromWide(std::u16string_view text) { return handset::Utf8FromWide(text); }
std::optional<std::u16string> WideFromUtf8(std::string_view text) { return handset::WideFromUtf8(text); }

}  // namespace handset::host
