// Where the handset looks for the vendor modules: only ever an absolute folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "handset_boot.h"

namespace {

TEST(ModuleFolder, IsAbsoluteOrRefused) {
  const char* given = std::getenv("VIRETA_MODULE_DIR");
  const std::optional<std::string> saved = given != nullptr ? std::optional<std::string>(given) : std::nullopt;
  const std::string beside = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path().string();
  // The variable (null: unset), and the folder found or the refusal; "beside": one by
  // the executable.
  const std::pair<const char*, std::string> cases[] = {
      {"/opt/modules", "/opt/modules"},
      {"modules", "VIRETA_MODULE_DIR \"modules\" is not an absolute folder"},
      {"./x/../modules", "VIRETA_MODULE_DIR \"./x/../modules\" is not an absolute folder"},
      {nullptr, "beside"},
      {"", "beside"},
  };
  for (const auto& [variable, wanted] : cases) {
    variable != nullptr ? setenv("VIRETA_MODULE_DIR", variable, 1) : unsetenv("VIRETA_MODULE_DIR");
    std::string error;
    const auto folder = kit::ModuleFolder("vireta", error);
    const std::string got = folder ? folder->string() : error;
    if (wanted == "beside") {
      EXPECT_TRUE(folder && folder->is_absolute() && got.starts_with(beside)) << got;
    } else {
      EXPECT_EQ(got, wanted) << (variable != nullptr ? variable : "unset");
    }
  }
  saved ? setenv("VIRETA_MODULE_DIR", saved->c_str(), 1) : unsetenv("VIRETA_MODULE_DIR");
}

}  // namespace
