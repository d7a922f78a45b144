#include <gtest/gtest.h>
#include "level/level.h"
TEST(Placeholder, Builds) { EXPECT_EQ(Level.columnCount, 0u); }
