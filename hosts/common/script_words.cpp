#include "script_words.h"

#include <winuser.h>

#include <string>

namespace kit {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::pair<const char*, int> kButtons[] = {
    {"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},       {"no", IDNO},
    {"retry", IDRETRY}, {"abort", IDABORT},   {"ignore", IDIGNORE},
};

}  // namespace

std::optional<std::pair<UINT, bool>> KeyNamed(std::string_view name) {
  std::string lower;
  for (const char c : name) {
    lower += Lower(c);
  }
  if (lower.size() == 1 && lower[0] >= 'a' && lower[0] <= 'z') {
    return std::pair<UINT, bool>{static_cast<UINT>(lower[0] - 'a' + 'A'), false};
  }
  if (lower.size() == 6 && lower.starts_with("ctrl+") && lower[5] >= 'a' && lower[5] <= 'z') {
    return std::pair<UINT, bool>{static_cast<UINT>(lower[5] - 'a' + 'A'), true};
  }
  static const std::pair<const char*, UINT> kNamed[] = {
      {"softkey1", VK_F1}, {"softkey2", VK_F2}, {"enter", VK_RETURN}, {"escape", VK_ESCAPE},
      {"up", VK_UP},       {"down", VK_DOWN},   {"left", VK_LEFT},    {"right", VK_RIGHT},
  };
  for (const auto& [known, key] : kNamed) {
    if (lower == known) {
      return std::pair<UINT, bool>{key, false};
    }
  }
  return std::nullopt;
}

int BoxButtonNamed(std::string_view name) {
  for (const auto& [known, button] : kButtons) {
    if (name == known) {
      return button;
    }
  }
  return 0;
}

std::string_view BoxButtonName(int button) {
  for (const auto& [known, id] : kButtons) {
    if (id == button) {
      return known;
    }
  }
  return {};
}

}  // namespace kit
