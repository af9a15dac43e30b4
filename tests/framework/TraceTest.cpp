// The trace of failures the program goes on past: each line names the call's file, line and
// text with its code; the caller gets the call's result and last error unchanged.
#include "framework/Trace.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> g_lines;
void Take(const char* line) { g_lines.push_back(line); }
std::string At(int line) { return "tidybar: framework/TraceTest.cpp:" + std::to_string(line) + ": "; }
}  // namespace

TEST(Trace, FailuresAreRecordedWhereTheyHappenAndSuccessesAreNot) {
  trace::SetSink(&Take);
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(TRACE_IF_FALSE(SetTimer(window, 7, 10000, nullptr)), 7u);
  EXPECT_EQ(TRACE_IF_FAILED(S_FALSE), S_FALSE);
  DestroyWindow(window);
  EXPECT_TRUE(g_lines.empty()) << g_lines.front();

  const int timerLine = __LINE__ + 1;
  EXPECT_EQ(TRACE_IF_FALSE(SetTimer(window, 1, 10, nullptr)), 0u);  // the window is gone
  const DWORD timerError = GetLastError();
  HKEY readOnly = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
  const int writeLine = __LINE__ + 1;
  EXPECT_EQ(TRACE_IF_ERROR(RegSetValueExA(readOnly, "x", 0, REG_BINARY, nullptr, 0)), ERROR_ACCESS_DENIED);
  RegCloseKey(readOnly);
  const int shellLine = __LINE__ + 1;
  auto started = TRACE_IF_NOT_STARTED(ShellExecuteA(nullptr, "open", "no-such-program.exe", "", "", SW_SHOW));
  EXPECT_EQ(reinterpret_cast<INT_PTR>(started), SE_ERR_FNF);
  trace::SetSink(nullptr);

  ASSERT_EQ(g_lines.size(), 3u);
  EXPECT_NE(timerError, 0u);
  EXPECT_EQ(g_lines[0].rfind(At(timerLine) + "SetTimer(window, 1, 10, nullptr) failed: last error " +
                                 std::to_string(timerError) + " (",
                             0),
            0u)
      << g_lines[0] << "the last error stays the call's";
  EXPECT_EQ(g_lines[1].rfind(
                At(writeLine) + "RegSetValueExA(readOnly, \"x\", 0, REG_BINARY, nullptr, 0) failed: status 5 (", 0),
            0u)
      << g_lines[1];
  EXPECT_EQ(g_lines[2], At(shellLine) +
                            "ShellExecuteA(nullptr, \"open\", \"no-such-program.exe\", \"\", \"\", SW_SHOW) "
                            "failed: shell result 2\n");
}
