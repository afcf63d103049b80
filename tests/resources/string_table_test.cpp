#include <gtest/gtest.h>

#include "resources/string_table.h"

TEST(StringTable, HoldsTheAboutItem) {
    EXPECT_EQ(LoadResourceString(101), "About Lumivaro Configure Tool (&A)...");
}

// The parse prompts are the framework's own strings, not the program's.
TEST(StringTable, UnknownIdGivesEmptyText) {
    EXPECT_TRUE(LoadResourceString(0).empty());
    EXPECT_TRUE(LoadResourceString(102).empty());
    EXPECT_TRUE(LoadResourceString(61712).empty());
}
