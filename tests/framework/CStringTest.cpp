#include "framework/CString.h"

#include <gtest/gtest.h>

#include <string>

TEST(CString, CopiesShareUntilOneChanges) {
  CString a("hello");
  CString b = a;
  EXPECT_EQ(static_cast<const char*>(a), static_cast<const char*>(b));
  b += " world";
  b.SetAt(0, 'H');
  EXPECT_STREQ(a, "hello");
  EXPECT_STREQ(b, "Hello world");
  CString c = b;
  c.MakeUpper();
  c.GetBuffer(100)[0] = 'x';
  c.ReleaseBuffer();
  EXPECT_STREQ(b, "Hello world");
  EXPECT_STREQ(c, "xELLO WORLD");
}

TEST(CString, AppendingItselfAndAssigningItsOwnTail) {
  CString s("ab");
  s += s;
  s += static_cast<const char*>(s) + 1;
  EXPECT_STREQ(s, "ababbab");
  s = static_cast<const char*>(s) + 4;
  EXPECT_STREQ(s, "bab");
}

TEST(CString, ExtractionClampsOutOfRangeArguments) {
  CString s("abcdef");
  EXPECT_STREQ(s.Left(-3), "");
  EXPECT_STREQ(s.Left(99), "abcdef");
  EXPECT_STREQ(s.Right(2), "ef");
  EXPECT_STREQ(s.Mid(4), "ef");
  EXPECT_STREQ(s.Mid(9), "");
  EXPECT_STREQ(s.Mid(-2, 3), "abc");
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(s.Find("cd", 10), -1);
  EXPECT_EQ(s.Find('a', -1), -1);
  EXPECT_EQ(s.ReverseFind('\0'), -1);
  EXPECT_EQ(s[10], 0);
}

TEST(CString, ReplaceIsOneLeftToRightPassOverNonOverlappingMatches) {
  CString s("a\\\\\\b");  // three backslashes
  EXPECT_EQ(s.Replace("\\\\", "\\"), 1);
  EXPECT_STREQ(s, "a\\\\b");
  CString t("aaaa");
  EXPECT_EQ(t.Replace("aa", "a"), 2);
  EXPECT_STREQ(t, "aa");
  EXPECT_EQ(t.Replace("", "x"), 0);
  CString u("x/y/z");
  EXPECT_EQ(u.Remove('/'), 2);
  EXPECT_STREQ(u, "xyz");
}

TEST(CString, TrimDeleteInsertAndFormat) {
  CString s(" \t name \r\n");
  EXPECT_STREQ(s.Trim(), "name");
  s.Insert(2, "--");
  EXPECT_STREQ(s, "na--me");
  s.Delete(1, 100);
  EXPECT_STREQ(s, "n");
  CString f;
  f.Format("%s%d%s", "Copy (", 12, ") of ");
  EXPECT_STREQ(f, "Copy (12) of ");
  std::string big(5000, 'q');
  f.Format("%s!", big.c_str());
  EXPECT_EQ(f.GetLength(), 5001);
  f.AppendFormat("%c", '?');
  EXPECT_EQ(f.Right(2), CString("!?"));
}

TEST(CString, BufferAccessForApisThatWriteText) {
  CString s;
  char* buffer = s.GetBuffer(10);
  strcpy(buffer, "abc");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 3);
  s.GetBufferSetLength(2);
  EXPECT_STREQ(s, "ab");
  EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
  EXPECT_TRUE(CString() == "");
  EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}
