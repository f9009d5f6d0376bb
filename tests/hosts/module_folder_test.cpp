// Where the handset looks for the vendor modules: only ever an absolute folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "handset_boot.h"

namespace {

TEST(ModuleFolder, IsAbsoluteOrRefused) {
  const char* given = std::getenv("VIRETA_MODULE_DIR");
  const std::optional<std::string> saved = given != nullptr ? std::optional<std::string>(given) : std::nullopt;
  struct Case {
    const char* variable;  // null: unset
    std::string folder;    // empty: refused with `error`
    std::string error;
  };
  const std::string beside = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  const Case cases[] = {
      {"/opt/modules", "/opt/modules", ""},
      {"modules", "", "VIRETA_MODULE_DIR \"modules\" is not an absolute folder"},
      {"./x/../modules", "", "VIRETA_MODULE_DIR \"./x/../modules\" is not an absolute folder"},
      {nullptr, "beside", ""},
      {"", "beside", ""},
  };
  for (const Case& c : cases) {
    if (c.variable != nullptr) {
      setenv("VIRETA_MODULE_DIR", c.variable, 1);
    } else {
      unsetenv("VIRETA_MODULE_DIR");
    }
    std::string error;
    const auto folder = hostboot::ModuleFolder("vireta", error);
    if (c.folder.empty()) {
      EXPECT_FALSE(folder.has_value()) << c.variable;
      EXPECT_EQ(error, c.error);
    } else if (c.folder == "beside") {
      ASSERT_TRUE(folder.has_value()) << error;
      EXPECT_TRUE(folder->is_absolute()) << *folder;
      EXPECT_TRUE(folder->string().starts_with(std::filesystem::path(beside).parent_path().string())) << *folder;
    } else {
      EXPECT_EQ(folder, std::filesystem::path(c.folder));
    }
  }
  saved ? setenv("VIRETA_MODULE_DIR", saved->c_str(), 1) : unsetenv("VIRETA_MODULE_DIR");
}

}  // namespace
