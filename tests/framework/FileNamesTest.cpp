// Names in the program's 8-bit strings: the code page where it holds a name, UTF-8 where it
// cannot, and back; and which file an 8-bit name opens.
#include "framework/FileNames.h"

#include <gtest/gtest.h>

#include "tests/support/TestKit.h"

namespace {
const std::wstring kCafe = L"caf\u00e9.mp3";
const std::wstring kSong = L"\u65e5\u672c\u306e\u6b4c.mp3";  // "Japanese song"
const std::string kSongUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C.mp3";

bool IsWesternCodePage() { return GetACP() == 1252; }
}  // namespace

TEST(FileNames, TheCodePageWhereItHoldsTheNameAndUtf8WhereItCannot) {
  if (!IsWesternCodePage()) GTEST_SKIP() << "the byte forms below are those of code page 1252";
  EXPECT_EQ(filenames::Narrow(L"C:\\music\\plain.mp3"), "C:\\music\\plain.mp3");
  EXPECT_EQ(filenames::Narrow(L"C:\\" + kCafe), "C:\\caf\xE9.mp3");
  EXPECT_EQ(filenames::Narrow(L"C:\\" + kSong), "C:\\" + kSongUtf8);
  EXPECT_EQ(filenames::Narrow(L"\u0113.mp3"), "\xC4\x93.mp3") << "no best-fit \"e\" for a letter the page lacks";
  for (const std::wstring& name :
       {std::wstring(L"C:\\music\\plain.mp3"), L"C:\\" + kCafe, L"C:\\" + kSong, L"C:\\" + kCafe + L"\\" + kSong,
        std::wstring(L"C:\\\u00c3\u00a9.mp3") /* its code-page bytes are UTF-8 for "é" */, std::wstring()})
    EXPECT_EQ(filenames::Wide(filenames::Narrow(name)), name) << "a round trip keeps every name";
}

TEST(FileNames, AnEightBitNameOpensItsCodePageFileFirstThenItsUtf8One) {
  testkit::ScratchDir dir("file-names");
  std::wstring folder = filenames::FromCodePage(dir.path) + L"\\";
  testkit::WriteTextFile(folder + kCafe, "cafe");
  testkit::WriteTextFile(folder + kSong, "song");
  std::string cafeUtf8 = dir / "caf\xC3\xA9.mp3";
  EXPECT_EQ(filenames::OnDisk(dir / kSongUtf8), folder + kSong);
  EXPECT_EQ(filenames::OnDisk(cafeUtf8), folder + kCafe) << "UTF-8 that names nothing in the code page";
  EXPECT_EQ(filenames::OnDisk(filenames::Narrow(folder + kCafe)), folder + kCafe);
  testkit::WriteTextFile(filenames::FromCodePage(cafeUtf8), "mojibake");
  EXPECT_EQ(filenames::OnDisk(cafeUtf8), filenames::FromCodePage(cafeUtf8)) << "a code-page name that exists wins";
  EXPECT_EQ(filenames::OnDisk(dir / "missing\xE9.mp3"), folder + L"missing\u00e9.mp3") << "not UTF-8: the code page";
}
