#include "framework/CString.h"

#include <gtest/gtest.h>

TEST(CString, CopiesShareUntilOneChanges) {
  CString a("hello");
  CString b = a;
  EXPECT_EQ(static_cast<const char*>(a), static_cast<const char*>(b));
  b += " world";
  EXPECT_STREQ(a, "hello");
  EXPECT_STREQ(b, "hello world");
}
