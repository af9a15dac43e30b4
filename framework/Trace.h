// What the program tells a debugger, and nothing else: the steps of its start-up with their
// times, and the failures of calls whose result it goes on without (a registry write, a
// timer, a drop target, a program started through the shell). Written with
// OutputDebugStringA, so a debugger, DebugView or Wine's WINEDEBUG=+debugstr shows it; there
// is no log file.
//
// A wrapped call keeps its behaviour: the macros give back the call's own result and leave
// the thread's last error as the call left it.
//   TRACE_IF_FALSE(SetTimer(...))        BOOL, handle or id; 0 fails, with GetLastError
//   TRACE_IF_FAILED(RegisterDragDrop())  HRESULT
//   TRACE_IF_ERROR(RegFlushKey(key))     registry status (LSTATUS); non-zero fails
//   TRACE_IF_NOT_STARTED(ShellExecuteA()) the shell's HINSTANCE; 32 or less fails
#pragma once

#include <windows.h>

namespace trace {
// "tidybar start-up: <ms since the process was created> ms <step>"
void StartupStep(const char* step);
// "tidybar <topic>: <ms since the process was created> ms <step>", for other timelines
// (the click that opens a category window: topic "click").
void Step(const char* topic, const char* step);

// Where a call was made: its source file, line and text.
struct Site {
  const char* file;
  int line;
  const char* call;
};

// What the code of a failure is.
enum class Code { kLastError, kHResult, kStatus, kShellResult };

// "tidybar: <folder/file>:<line>: <call> failed: <kind> <code> (<system text>)". The thread's
// last error stays as it was.
void Failure(const Site& site, Code kind, unsigned long code);

// Where the lines go: OutputDebugStringA unless a test takes them (null gives them back).
using Sink = void (*)(const char* line);
void SetSink(Sink sink);

template <class Result>
Result IfFalse(Result result, const Site& site) {
  if (!result) Failure(site, Code::kLastError, GetLastError());
  return result;
}
HRESULT IfFailed(HRESULT result, const Site& site);
LONG IfError(LONG status, const Site& site);
HINSTANCE IfNotStarted(HINSTANCE result, const Site& site);
}  // namespace trace

#define TRACE_SITE_(call) (::trace::Site{__FILE__, __LINE__, call})
#define TRACE_IF_FALSE(call) ::trace::IfFalse((call), TRACE_SITE_(#call))
#define TRACE_IF_FAILED(call) ::trace::IfFailed((call), TRACE_SITE_(#call))
#define TRACE_IF_ERROR(call) ::trace::IfError((call), TRACE_SITE_(#call))
#define TRACE_IF_NOT_STARTED(call) ::trace::IfNotStarted((call), TRACE_SITE_(#call))
