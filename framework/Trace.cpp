#include "framework/Trace.h"

#include <cstdio>

namespace {
trace::Sink g_sink = nullptr;

double MsSinceProcessCreated() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER from{{created.dwLowDateTime, created.dwHighDateTime}}, to{{now.dwLowDateTime, now.dwHighDateTime}};
  return double(to.QuadPart - from.QuadPart) / 10000.0;
}

void Emit(const char* line) {
  if (g_sink) g_sink(line);
  else OutputDebugStringA(line);
}

// "app/MainBarDlg.cpp" out of the full path the compiler was given: enough to find it.
const char* FolderAndFile(const char* path) {
  const char* name = path;
  const char* folder = path;
  for (const char* c = path; *c; ++c) {
    if (*c != '/' && *c != '\\') continue;
    folder = name;
    name = c + 1;
  }
  return folder;
}

// The system's one-line text for `code`, or "" when it has none.
void DescribeCode(unsigned long code, char* text, DWORD size) {
  text[0] = '\0';
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                size, nullptr);
  while (length && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
    text[--length] = '\0';
}
}  // namespace

void trace::Step(const char* topic, const char* step) {
  char line[160];
  std::snprintf(line, sizeof line, "tidybar %s: %7.1f ms %s\n", topic, MsSinceProcessCreated(), step);
  Emit(line);
}

void trace::SetSink(Sink sink) { g_sink = sink; }

// Last errors and statuses read best in decimal, as the system's headers give them; an
// HRESULT, or a last error that is one, in hex. The shell's own codes are not all system
// error codes, so they stay bare numbers.
void trace::Failure(const Site& site, Code kind, unsigned long code) {
  DWORD lastError = GetLastError();
  static const char* const kKinds[] = {"last error", "HRESULT", "status", "shell result"};
  char number[16];
  std::snprintf(number, sizeof number, kind == Code::kHResult || code >= 0x80000000UL ? "0x%08lX" : "%lu", code);
  char text[160] = "";
  if (kind != Code::kShellResult && code != 0) DescribeCode(code, text, sizeof text);
  char line[512];
  std::snprintf(line, sizeof line, "tidybar: %s:%d: %s failed: %s %s%s%s%s\n", FolderAndFile(site.file), site.line,
                site.call, kKinds[int(kind)], number, text[0] ? " (" : "", text, text[0] ? ")" : "");
  Emit(line);
  SetLastError(lastError);
}

HRESULT trace::IfFailed(HRESULT result, const Site& site) {
  if (FAILED(result)) Failure(site, Code::kHResult, static_cast<unsigned long>(result));
  return result;
}

LONG trace::IfError(LONG status, const Site& site) {
  if (status != ERROR_SUCCESS) Failure(site, Code::kStatus, static_cast<unsigned long>(status));
  return status;
}

HINSTANCE trace::IfNotStarted(HINSTANCE result, const Site& site) {
  auto value = reinterpret_cast<INT_PTR>(result);
  if (value <= 32) Failure(site, Code::kShellResult, static_cast<unsigned long>(value));
  return result;
}

void trace::StartupStep(const char* step) { Step("start-up", step); }
