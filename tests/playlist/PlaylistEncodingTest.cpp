// Playlist files in the encodings players write them in, read into the list's 8-bit form.
#include "ocx/playlist/PlaylistEncoding.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace std::string_literals;

TEST(PlaylistEncoding, EveryEncodingComesToTheSameEntriesAndCodePageTextStaysAsItIs) {
  if (GetACP() != 1252) GTEST_SKIP() << "the kept forms are those of code page 1252";
  std::wstring lines = L"C:\\caf\u00e9.mp3\r\nC:\\\u65e5\u672c\u306e\u6b4c.mp3\r\nplain.mp3\n";
  std::string utf8 = "C:\\caf\xC3\xA9.mp3\r\nC:\\\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3\r\nplain.mp3\n";
  // café in the code page, the song in UTF-8: also how a list with both is saved.
  std::string kept = "C:\\caf\xE9.mp3\r\nC:\\\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3\r\nplain.mp3\n";
  auto utf16 = [&](bool bigEndian) {
    std::string bytes;
    for (wchar_t c : lines)
      bytes += bigEndian ? std::string{char(c >> 8), char(c)} : std::string{char(c), char(c >> 8)};
    return bytes;
  };
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, "\xFF\xFE" + utf16(false), "\xFE\xFF" + utf16(true),
                                   utf16(false), utf16(true), kept})
    EXPECT_EQ(playlist::DecodeListText(bytes), kept) << bytes;
  std::string plain =
      "C:\\caf\xE9 \xFC"
      "ber.mp3\r\n#EXTM3U\r\n\r\n\0\0\0\0\r\nC:\\a\0b.mp3"s;
  EXPECT_EQ(playlist::DecodeListText(plain), plain) << "a few NULs do not make it UTF-16";
}
