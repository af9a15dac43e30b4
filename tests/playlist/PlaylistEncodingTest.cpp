// Playlist files in the encodings players write them in, read into the list's 8-bit form.
#include "ocx/playlist/PlaylistEncoding.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
// "C:\café.mp3", "C:\日本の歌.mp3" and "plain.mp3", one a line.
const std::wstring kLines = L"C:\\caf\u00e9.mp3\r\nC:\\\u65e5\u672c\u306e\u6b4c.mp3\r\nplain.mp3\n";
const std::string kUtf8 =
    "C:\\caf\xC3\xA9.mp3\r\nC:\\\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3\r\nplain.mp3\n";
// What the list keeps: café in the code page, the song in UTF-8.
const std::string kKept = "C:\\caf\xE9.mp3\r\nC:\\\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3\r\nplain.mp3\n";

std::string Utf16(const std::wstring& text, bool bigEndian) {
  std::string bytes;
  for (wchar_t c : text) {
    char low = char(c & 0xFF), high = char(c >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}
}  // namespace

TEST(PlaylistEncoding, EveryEncodingComesToTheSameEntries) {
  if (GetACP() != 1252) GTEST_SKIP() << "the kept forms are those of code page 1252";
  EXPECT_EQ(playlist::DecodeListText(kUtf8), kKept) << "UTF-8 without a mark";
  EXPECT_EQ(playlist::DecodeListText("\xEF\xBB\xBF" + kUtf8), kKept) << "UTF-8 with a mark";
  EXPECT_EQ(playlist::DecodeListText("\xFF\xFE" + Utf16(kLines, false)), kKept) << "UTF-16 with a mark";
  EXPECT_EQ(playlist::DecodeListText("\xFE\xFF" + Utf16(kLines, true)), kKept) << "big-endian UTF-16";
  EXPECT_EQ(playlist::DecodeListText(Utf16(kLines, false)), kKept) << "UTF-16 without a mark";
  EXPECT_EQ(playlist::DecodeListText(Utf16(kLines, true)), kKept);
  EXPECT_EQ(playlist::DecodeListText(kKept), kKept) << "a list saved with both kinds of line reads as saved";
}

TEST(PlaylistEncoding, CodePageTextStaysByteForByte) {
  std::string plain =
      "C:\\music\\caf\xE9 \xFC"
      "ber.mp3\r\n#EXTM3U\r\n\r\nD:\\x.mp3";
  EXPECT_EQ(playlist::DecodeListText(plain), plain);
  std::string withNuls("\0\0\0\0\r\nC:\\music\\a\0b.mp3\r\n", 24);
  EXPECT_EQ(playlist::DecodeListText(withNuls), withNuls) << "a few NULs do not make it UTF-16";
  EXPECT_EQ(playlist::DecodeListText(""), "");
  EXPECT_EQ(playlist::DecodeListText("\xFF\xFE"
                                     "a"),
            "")
      << "half a character is dropped";
}
