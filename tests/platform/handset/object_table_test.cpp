// The registry behind every handle: handles stay unique, typed and safe when stale.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/handset/handset.h"

namespace {

struct Thing : handset::Object {
  int value = 0;
};
struct Other : handset::Object {};

TEST(ObjectTable, HandlesAreTypedAndNeverReused) {
  handset::ObjectTable table;
  auto thing = std::make_shared<Thing>();
  void* first = table.Add(thing);
  void* second = table.Add(std::make_shared<Other>());
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 4, 0U);

  EXPECT_EQ(table.Find<Thing>(first), thing);
  EXPECT_EQ(table.Find<Other>(first), nullptr);
  EXPECT_EQ(table.Find<Thing>(nullptr), nullptr);

  EXPECT_EQ(table.Remove(first), thing);
  EXPECT_EQ(table.Remove(first), nullptr);
  EXPECT_EQ(table.Find<Thing>(first), nullptr);
  EXPECT_NE(table.Add(std::make_shared<Thing>()), first);
}

TEST(ObjectTable, SharedObjectOutlivesOneHandle) {
  handset::ObjectTable table;
  auto thing = std::make_shared<Thing>();
  void* a = table.Add(thing);
  void* b = table.Add(thing);
  thing.reset();
  table.Remove(a);
  ASSERT_NE(table.Find<Thing>(b), nullptr);
  EXPECT_EQ(table.Size(), 1U);
}

TEST(Handset, ResetStartsAfresh) {
  handset::TheHandset().objects.Add(std::make_shared<Thing>());
  SetLastError(ERROR_ALREADY_EXISTS);
  handset::Reset();
  EXPECT_EQ(GetLastError(), 0U);
  EXPECT_EQ(handset::TheHandset().objects.Size(), 0U);
}

}  // namespace
