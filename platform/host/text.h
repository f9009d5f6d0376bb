// Text between the handset's UTF-16 and the host's UTF-8; none for text that is not valid.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace handset::host {

std::optional<std::string> Utf8FromWide(std::u16string_view text);
std::optional<std::u16string> WideFromUtf8(std::string_view text);

}  // namespace handset::host
