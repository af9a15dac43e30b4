#include "settings/SectionName.h"

#include <gtest/gtest.h>

TEST(SectionName, SpellingsOfOneSectionAgree) {
  for (const char* spelling :
       {"Settings", "Settings/", "/Settings", "  Settings  ", "\t\\Settings\\\n", "//Settings//"})
    EXPECT_EQ(NormaliseSectionName(spelling), "Settings") << '"' << spelling << '"';
}

TEST(SectionName, DoubledSeparatorsCollapseInOnePass) {
  EXPECT_EQ(NormaliseSectionName("a\\/b"), "a\\b");
  EXPECT_EQ(NormaliseSectionName("a///b"), "a\\\\b");
  EXPECT_EQ(NormaliseSectionName("a b / c"), "a b \\ c");  // inner blanks are part of names
}

TEST(SectionName, SlashesAndBlanksAloneGiveNothing) {
  for (const char* spelling : {"", " ", "/", "\\\\\\", "/ /", " \\ / \t"})
    EXPECT_EQ(NormaliseSectionName(spelling), "") << '"' << spelling << '"';
  // Bytes above 127 are not white space, whatever their sign as a char.
  EXPECT_EQ(NormaliseSectionName("\xA0x\xFF"), "\xA0x\xFF");
}

TEST(KeyName, SeparatorsGoAnywhereAndBlanksAtTheEnds) {
  EXPECT_EQ(NormaliseKeyName("Farrowind/"), "Farrowind");
  EXPECT_EQ(NormaliseKeyName("\\Farrowind"), "Farrowind");
  EXPECT_EQ(NormaliseKeyName(" Glade Inc. "), "Glade Inc.");
  EXPECT_EQ(NormaliseKeyName("a/b\\c"), "abc");
  EXPECT_EQ(NormaliseKeyName("/ tyb"), "tyb");
  EXPECT_EQ(NormaliseKeyName(" / \\ "), "");
}
