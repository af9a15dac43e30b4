// The note's 512-byte record: what is written for texts of every length, and what the
// note window and the start-up test read back.
#include "notes/NoteRecord.h"

#include <gtest/gtest.h>

using namespace note;

TEST(NoteRecord, AlwaysHoldsExactly512BytesWithTheTextFirst) {
  std::string shortRecord = MakeRecord("Buy milk\r\nCall Ann");
  ASSERT_EQ(shortRecord.size(), 512u);
  EXPECT_EQ(shortRecord.substr(0, 19), std::string("Buy milk\r\nCall Ann\0", 19));

  std::string fits(511, 'a');  // the longest text that keeps its NUL
  std::string record = MakeRecord(fits);
  EXPECT_EQ(record.substr(0, 511), fits);
  EXPECT_EQ(record[511], '\0');

  std::string full(512, 'b');  // a text the size of the record has no room for the NUL
  EXPECT_EQ(MakeRecord(full), full);

  std::string longer(300, 'c');
  longer += std::string(300, 'd');
  EXPECT_EQ(MakeRecord(longer), longer.substr(0, 512)) << "cut to the first 512 bytes";

  std::string emptied = MakeRecord(kEmptiedNote);
  EXPECT_EQ(emptied.substr(0, 2), std::string(" \0", 2));
}

TEST(NoteRecord, TheWholeTextComesBackUpToTheNul) {
  EXPECT_EQ(TextOfRecord(MakeRecord("one\r\ntwo\r\nthree")), "one\r\ntwo\r\nthree");
  std::string filler = std::string("kept\0", 5) + "garbage after the end";
  EXPECT_EQ(TextOfRecord(filler), "kept");
  EXPECT_EQ(TextOfRecord(std::string(512, 'x')), std::string(512, 'x')) << "a full record has no NUL";
  EXPECT_EQ(TextOfRecord(""), "") << "no file yet";
}

TEST(NoteRecord, AFileHoldsANoteWhenReadersTakeTheSameTextFromIt) {
  EXPECT_TRUE(HoldsNote(std::string("keys\0filler", 11), "keys"));
  EXPECT_TRUE(HoldsNote("keys", "keys")) << "a short file without its NUL reads the same";
  EXPECT_FALSE(HoldsNote(MakeRecord("keys"), "keys and wallet"));
  EXPECT_FALSE(HoldsNote("", "")) << "no file: the save makes one";
}

TEST(NoteRecord, StartUpLooksOnlyAtTheFirstLine) {
  EXPECT_EQ(FirstLineOfRecord(MakeRecord("first\r\nsecond")), "first");
  EXPECT_EQ(FirstLineOfRecord(MakeRecord("unix\nline")), "unix");
  EXPECT_EQ(FirstLineOfRecord(MakeRecord("cr\rinside")), "cr\rinside") << "only CR LF or LF ends a line";
  EXPECT_FALSE(ShouldReopen(MakeRecord("ab")));
  EXPECT_TRUE(ShouldReopen(MakeRecord("abc")));
  EXPECT_FALSE(ShouldReopen(MakeRecord("ab\r\nthe rest is long enough"))) << "later lines do not count";
  EXPECT_FALSE(ShouldReopen(MakeRecord("ab\r\n")));
  EXPECT_FALSE(ShouldReopen(MakeRecord(kEmptiedNote)));
  EXPECT_FALSE(ShouldReopen(""));
  EXPECT_TRUE(ShouldReopen(std::string(512, 'z')));
}
