// The registry behind every handle: handles stay unique, typed and safe when stale.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/handset/handset.h"

namespace {

struct Thing : handset::Object {};
struct Other : handset::Object {};

TEST(ObjectTable, HandlesAreTypedNeverReusedAndKeepTheirObjectAlive) {
  handset::ObjectTable table;
  auto thing = std::make_shared<Thing>();
  const Thing* const held = thing.get();
  void* first = table.Add(thing);
  void* second = table.Add(std::move(thing));  // one object behind two handles
  table.Add(std::make_shared<Other>());
  EXPECT_NE(first, second);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 4, 0U);  // the low bits stay free for flags
  EXPECT_EQ(table.Find<Other>(first), nullptr);
  EXPECT_EQ(table.Find<Thing>(nullptr), nullptr);

  EXPECT_EQ(table.Remove(first).get(), held);
  EXPECT_EQ(table.Remove(first), nullptr);
  EXPECT_EQ(table.Find<Thing>(first), nullptr);
  EXPECT_EQ(table.Find<Thing>(second).get(), held);
  EXPECT_EQ(table.Size(), 2U);
  EXPECT_NE(table.Add(std::make_shared<Thing>()), first);
}

TEST(Handset, ResetStartsAfresh) {
  handset::TheHandset().objects.Add(std::make_shared<Thing>());
  SetLastError(ERROR_ALREADY_EXISTS);
  handset::Reset();
  EXPECT_EQ(GetLastError(), 0U);
  EXPECT_EQ(handset::TheHandset().objects.Size(), 0U);
}

}  // namespace
