// Entry of every test program: the same process set-up as the program's own start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/WinApp.h"
#include "ocx/HostedControls.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  AfxOleInit();
  InitCommonControls();
  AfxInitRichEdit2();
  RegisterHostedControls();
  return RUN_ALL_TESTS();
}
