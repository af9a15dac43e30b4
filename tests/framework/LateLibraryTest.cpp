#include "framework/LateLibrary.h"

#include <gtest/gtest.h>

// A missing library or function is null; a dialog the system refuses to show (here for a
// structure of the wrong size) chooses nothing.
TEST(LateLibrary, FindsWhatIsThereAndFailsQuietlyOnTheRest) {
  EXPECT_NE(late::Function("comdlg32.dll", "GetOpenFileNameW"), nullptr);
  EXPECT_EQ(late::Function("no-such-library-here.dll", "GetOpenFileNameW"), nullptr);
  EXPECT_EQ(late::Function("comdlg32.dll", "NoSuchFunctionHere"), nullptr);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = 1;
  EXPECT_FALSE(late::ShowOpenDialog(dialog));
}
