#include <gtest/gtest.h>

#include "resources/string_table.h"

TEST(StringTable, HoldsTheAboutItemAndTheParsePrompts) {
    EXPECT_EQ(LoadResourceString(101), "About Lumivaro Configure Tool (&A)...");
    EXPECT_EQ(LoadResourceString(61712),
              "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x80\xE4\xB8\xAA\xE6\x95\xB4\xE6\x95\xB0"
              "\xE3\x80\x82");
    EXPECT_EQ(LoadResourceString(61713),
              "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x80\xE4\xB8\xAA\xE6\x95\xB0\xE5\xAD\x97"
              "\xE3\x80\x82");
}

TEST(StringTable, UnknownIdGivesEmptyText) {
    EXPECT_TRUE(LoadResourceString(0).empty());
    EXPECT_TRUE(LoadResourceString(102).empty());
    EXPECT_TRUE(LoadResourceString(61714).empty());
}
