// The trace of failures the program goes on past: each line names the call's file, line and
// text with its code, and the caller gets the call's result and last error unchanged.
#include "framework/Trace.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> g_lines;
void Take(const char* line) { g_lines.push_back(line); }

struct CapturedTrace {
  CapturedTrace() {
    g_lines.clear();
    trace::SetSink(&Take);
  }
  ~CapturedTrace() { trace::SetSink(nullptr); }
};

std::string At(int line) { return "tidybar: framework/TraceTest.cpp:" + std::to_string(line) + ": "; }
}  // namespace

TEST(Trace, FailuresAreRecordedWhereTheyHappenAndTheCallerSeesTheCallsOwnResult) {
  CapturedTrace captured;
  HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const int timerLine = __LINE__ + 1;
  EXPECT_EQ(TRACE_IF_FALSE(SetTimer(gone, 1, 10, nullptr)), 0u);
  const DWORD timerError = GetLastError();  // the call's, as the trace records it
  EXPECT_NE(timerError, 0u);

  HKEY readOnly = nullptr;  // a registry write through a key opened for reading
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
  DWORD one = 1;
  const int writeLine = __LINE__ + 1;
  LONG status = TRACE_IF_ERROR(RegSetValueExA(readOnly, "x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4));
  RegCloseKey(readOnly);
  EXPECT_EQ(status, ERROR_ACCESS_DENIED);

  const int dropLine = __LINE__ + 1;
  EXPECT_EQ(TRACE_IF_FAILED(HRESULT(DRAGDROP_E_INVALIDHWND)), DRAGDROP_E_INVALIDHWND);
  const int shellLine = __LINE__ + 1;
  auto started = TRACE_IF_NOT_STARTED(ShellExecuteA(nullptr, "open", "no-such-program.exe", "", "", SW_SHOW));
  EXPECT_EQ(reinterpret_cast<INT_PTR>(started), SE_ERR_FNF);

  ASSERT_EQ(g_lines.size(), 4u);
  EXPECT_EQ(g_lines[0].rfind(At(timerLine) + "SetTimer(gone, 1, 10, nullptr) failed: last error " +
                                 std::to_string(timerError) + " (",
                             0),
            0u)
      << g_lines[0];
  EXPECT_EQ(g_lines[1].rfind(At(writeLine) + "RegSetValueExA(readOnly, \"x\",", 0), 0u) << g_lines[1];
  EXPECT_NE(g_lines[1].find(") failed: status 5 ("), std::string::npos) << g_lines[1];
  EXPECT_EQ(g_lines[2].rfind(At(dropLine) + "HRESULT(DRAGDROP_E_INVALIDHWND) failed: HRESULT 0x80040102", 0), 0u)
      << g_lines[2];
  EXPECT_EQ(g_lines[3], At(shellLine) + "ShellExecuteA(nullptr, \"open\", \"no-such-program.exe\", \"\", \"\", SW_SHOW) "
                                        "failed: shell result 2\n");
}

TEST(Trace, SucceedingCallsRecordNothing) {
  CapturedTrace captured;
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(TRACE_IF_FALSE(SetTimer(window, 7, 10000, nullptr)), 7u);
  EXPECT_EQ(TRACE_IF_ERROR(LONG(ERROR_SUCCESS)), ERROR_SUCCESS);
  EXPECT_EQ(TRACE_IF_FAILED(S_FALSE), S_FALSE);
  DestroyWindow(window);
  EXPECT_TRUE(g_lines.empty()) << g_lines.front();
}
