// A test on a handset of its own: reset before the fixture's members are made and again
// after they are gone, so that whatever they hooked into the handset goes with them.
#pragma once

#include <gtest/gtest.h>

#include "platform/handset/handset.h"

namespace testsupport {

class FreshHandset : public ::testing::Test {
 protected:
  FreshHandset() { handset::Reset(); }
  ~FreshHandset() override { handset::Reset(); }
};

}  // namespace testsupport
