// Reading and writing playlist text, extension matching and name order.
#include "ocx/playlist/PlaylistText.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace playlist;
using Paths = std::vector<std::string>;

TEST(PlaylistText, ReadsOnePathALineWhateverTheLineEnds) {
  EXPECT_EQ(ParseEntries("C:\\a.mp3\r\nC:\\b.mp3\nC:\\c.mp3\rC:\\d.mp3", "C:\\list\\"),
            (Paths{"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3", "C:\\d.mp3"}))
      << "CR LF, LF, CR, and a last line without an end";
  EXPECT_EQ(ParseEntries("", "C:\\list"), Paths{});
  EXPECT_EQ(ParseEntries("\r\n\r\n", "C:\\list"), Paths{});
}

TEST(PlaylistText, SkipsHeadersCommentsAndBlankLinesAsOtherPlayersWriteThem) {
  std::string m3u =
      "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:215,Artist - Title\r\n  one.mp3  \r\n\r\n\t\r\n# a comment\r\ntwo.mp3\r\n";
  EXPECT_EQ(ParseEntries(m3u, "C:\\music"), (Paths{"C:\\music\\one.mp3", "C:\\music\\two.mp3"}));
}

TEST(PlaylistText, ResolvesRelativePathsAgainstThePlaylistsFolder) {
  EXPECT_EQ(ResolvePath("a.mp3", "C:\\list"), "C:\\list\\a.mp3");
  EXPECT_EQ(ResolvePath("sub\\b.mp3", "C:\\list\\"), "C:\\list\\sub\\b.mp3");
  EXPECT_EQ(ResolvePath("../c.mp3", "C:/list/"), "C:/list/../c.mp3");
  EXPECT_EQ(ResolvePath("\\root\\d.mp3", "E:\\list"), "E:\\root\\d.mp3") << "from the root of the list's drive";
  EXPECT_EQ(ResolvePath("D:\\e.mp3", "C:\\list"), "D:\\e.mp3");
  EXPECT_EQ(ResolvePath("d:f.mp3", "C:\\list"), "d:f.mp3");
  EXPECT_EQ(ResolvePath("\\\\server\\share\\f.mp3", "C:\\list"), "\\\\server\\share\\f.mp3");
  EXPECT_EQ(ResolvePath("http://radio.example/live.mp3", "C:\\list"), "http://radio.example/live.mp3");
  EXPECT_EQ(ResolvePath("g.mp3", ""), "g.mp3");
}

TEST(PlaylistText, WritesEachPathWithCrLfAndReadsItBack) {
  Paths paths{"C:\\tyb\\a b.mp3", "D:\\music\\#1 hit.mp3"};
  EXPECT_EQ(FormatEntries(paths), "C:\\tyb\\a b.mp3\r\nD:\\music\\#1 hit.mp3\r\n");
  EXPECT_EQ(ParseEntries(FormatEntries(paths), "C:\\"), paths);
  EXPECT_EQ(FormatEntries({}), "");
}

TEST(PlaylistText, ExtensionsMatchRegardlessOfCaseAndSpelling) {
  EXPECT_TRUE(HasExtension("Song.MP3", ".mp3"));
  EXPECT_TRUE(HasExtension("song.mp3", "MP3"));
  EXPECT_TRUE(HasExtension("song.mp3", "*.mp3"));
  EXPECT_TRUE(HasExtension("anything", ""));
  EXPECT_TRUE(HasExtension("anything", "*.*"));
  EXPECT_FALSE(HasExtension("song.mp3.txt", ".mp3"));
  EXPECT_FALSE(HasExtension("mp3", ".mp3"));
  EXPECT_FALSE(HasExtension("song.mp4", ".mp3"));
}

TEST(PlaylistText, NamesSortAsAFileManagerShowsThem) {
  Paths names{"Track 10.mp3", "track 2.mp3", "B side.mp3", "a.mp3", "Track 1.mp3", "track 02.mp3", "ab.mp3"};
  std::sort(names.begin(), names.end(), NameLess);
  EXPECT_EQ(names,
            (Paths{"a.mp3", "ab.mp3", "B side.mp3", "Track 1.mp3", "track 02.mp3", "track 2.mp3", "Track 10.mp3"}));
  EXPECT_FALSE(NameLess("x", "x"));
  EXPECT_TRUE(NameLess("x", "x1"));
  EXPECT_TRUE(NameLess("9", "10"));
  EXPECT_TRUE(NameLess("99999999999999999999", "100000000000000000000")) << "numbers longer than any integer";
}

TEST(PlaylistText, FileNamesArePathsLastParts) {
  EXPECT_EQ(FileNameOf("C:\\music\\song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("C:/music/song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("C:\\music\\"), "");
}

TEST(PlaylistText, LinesThatCanNameNoFileAreSkipped) {
  std::string text = std::string("\0\0\0\r\n", 5) + std::string("C:\\music\\a\0b.mp3\r\n", 18) +
                     ".\r\n..\r\nsub\\\r\nC:\\music\\\r\nd:\r\nC:\\music\\ok.mp3\r\nhttp://radio.example/\r\n";
  EXPECT_EQ(ParseEntries(text, "C:\\list"), (Paths{"C:\\music\\ok.mp3", "http://radio.example/"}))
      << "NULs, the folder itself, folders, a drive alone";
  EXPECT_TRUE(NamesAFile("..a.mp3"));
  EXPECT_TRUE(NamesAFile("d:e.mp3"));
}

TEST(PlaylistText, OnlyPathsThatNeedNoTidyingCountAsPlain) {
  EXPECT_TRUE(IsPlainFullPath("C:\\music\\a b.mp3"));
  EXPECT_TRUE(IsPlainFullPath("z:\\.hidden\\x"));
  for (const char* path :
       {"C:/music/a.mp3", "C:\\music/a.mp3", "C:\\a\\..\\b.mp3", "C:\\a\\.\\b.mp3", "C:\\a\\b.mp3.", "C:\\a \\b.mp3",
        "C:\\a\\\\b.mp3", "C:\\a\\", "C:\\", "a.mp3", "C:a.mp3", "\\\\server\\share\\a.mp3", "\\a.mp3"})
    EXPECT_FALSE(IsPlainFullPath(path)) << path;
}
