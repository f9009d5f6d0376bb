// String tables: each RT_STRING resource is a bundle of 16 counted UTF-16 strings;
// string id n lives in bundle n / 16 + 1 at index n % 16.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/resources/parsed.h"

namespace handset::res {

// Views into the resource data; an unused slot is empty.
using StringBundle = std::array<std::u16string_view, 16>;

Parsed<StringBundle> ParseStringBundle(std::span<const std::byte> data);

constexpr std::uint16_t BundleOf(unsigned id) { return static_cast<std::uint16_t>(((id & 0xFFFFU) >> 4U) + 1U); }
constexpr std::size_t SlotOf(unsigned id) { return id % 16U; }

}  // namespace handset::res
