#include "framework/LateLibrary.h"

#include <gtest/gtest.h>

TEST(LateLibrary, FindsAFunctionAndKeepsItsLibraryLoaded) {
  EXPECT_NE(late::Function("comdlg32.dll", "GetOpenFileNameW"), nullptr);
  EXPECT_NE(GetModuleHandleA("comdlg32.dll"), nullptr);
}

TEST(LateLibrary, AMissingLibraryOrFunctionIsNull) {
  EXPECT_EQ(late::Function("no-such-library-here.dll", "GetOpenFileNameW"), nullptr);
  EXPECT_EQ(late::Function("comdlg32.dll", "NoSuchFunctionHere"), nullptr);
  EXPECT_EQ(late::Function<int (*)()>("no-such-library-here.dll", "Anything"), nullptr);
}

// The dialog refuses a structure of the wrong size before it shows anything: the refusal
// comes back as "nothing chosen", with the file name untouched.
TEST(LateLibrary, AnOpenDialogThatCannotShowChoosesNothing) {
  wchar_t file[MAX_PATH] = L"untouched";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  EXPECT_FALSE(late::ShowOpenDialog(dialog));
  EXPECT_STREQ(file, L"untouched");
}
