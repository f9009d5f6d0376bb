// Refusals: the one place that sets a refusal's last error and reports it.
#include "platform/handset/refuse.h"

#include <cstdio>

#include "platform/handset/handset.h"

namespace handset {

void Refuse(const char* function, std::string_view reason, DWORD error) {
  Handset& handset = TheHandset();
  handset.lastError = error;
  ++handset.refusals;
  if (handset.hooks.refused) {
    handset.hooks.refused(function, reason);
  }
}

std::string Hex(std::uint32_t value) {
  char text[11];
  (void)std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

}  // namespace handset
