// Wide names as the kernel compares them: UTF-16 from the program, UTF-8 on the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace handset {

// Null when `text` is not well-formed UTF-16 (a lone surrogate).
std::optional<std::string> Utf8FromWide(std::u16string_view text);

// Null when `text` is not well-formed UTF-8 (overlong forms, surrogates and code points
// past U+10FFFF included).
std::optional<std::u16string> WideFromUtf8(std::string_view text);

// Windows folds only case when it compares module names; ASCII letters are the ones
// module names use, so other characters compare as they are.
std::string FoldCase(std::string_view text);

}  // namespace handset
