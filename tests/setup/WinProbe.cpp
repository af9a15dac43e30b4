// winprobe: answers questions about the desktop's windows for the end-to-end test, which
// drives the installed program with real input through the X server and looks here for the
// effect. Reads one command a line from stdin and answers with lines ending in "end", so one
// process serves the whole test:
//   top                  every visible top-level window: hwnd pid "class" "title" l t r b
//   children HWND        every descendant: hwnd id "class" "text" visible l t r b
//   text HWND ID         the text of the child with that id
//   pos HWND ID          a trackbar child's position
//   items HWND           a list view's item count
//   foreground           the foreground window's hwnd
//   owner HWND           the window's owner
//   close HWND           posts WM_CLOSE
// HWNDs are written and read in hexadecimal.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string Quoted(std::string text) {
  for (char& c : text)
    if (c == '"' || c == '\n' || c == '\r') c = ' ';
  return "\"" + text + "\"";
}

std::string ClassOf(HWND window) {
  char name[128] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Text through WM_GETTEXT with a time limit, so a hung window cannot hang the test.
std::string TextOf(HWND window) {
  char text[512] = {0};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                           &copied))
    return "";
  return text;
}

void PrintWindow(HWND window, const std::string& prefix) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%s %ld %ld %ld %ld\n", prefix.c_str(), r.left, r.top, r.right, r.bottom);
}

BOOL CALLBACK PrintTop(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char head[64];
  std::snprintf(head, sizeof head, "%llx %lu ", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                pid);
  PrintWindow(window, head + Quoted(ClassOf(window)) + " " + Quoted(TextOf(window)));
  return TRUE;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
  char head[64];
  std::snprintf(head, sizeof head, "%llx %d ", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                GetDlgCtrlID(window));
  PrintWindow(window, head + Quoted(ClassOf(window)) + " " + Quoted(TextOf(window)) + " " +
                          (IsWindowVisible(window) ? "1" : "0"));
  return TRUE;
}

HWND ReadWindow(std::istream& in) {
  std::string hex;
  in >> hex;
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(hex.c_str(), nullptr, 16)));
}

void Answer(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  if (command == "top") {
    EnumWindows(&PrintTop, 0);
  } else if (command == "children") {
    EnumChildWindows(ReadWindow(in), &PrintChild, 0);
  } else if (command == "text" || command == "pos") {
    HWND window = ReadWindow(in);
    int id = 0;
    in >> id;
    HWND child = GetDlgItem(window, id);
    if (command == "text") std::printf("%s\n", child ? Quoted(TextOf(child)).c_str() : "none");
    else std::printf("%ld\n", child ? long(SendMessageA(child, TBM_GETPOS, 0, 0)) : -1L);
  } else if (command == "items") {
    std::printf("%ld\n", long(SendMessageA(ReadWindow(in), LVM_GETITEMCOUNT, 0, 0)));
  } else if (command == "foreground") {
    std::printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetForegroundWindow())));
  } else if (command == "owner") {
    HWND owner = GetWindow(ReadWindow(in), GW_OWNER);
    std::printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)));
  } else if (command == "close") {
    PostMessageA(ReadWindow(in), WM_CLOSE, 0, 0);
  } else {
    std::printf("unknown command %s\n", Quoted(command).c_str());
  }
  std::printf("end\n");
  std::fflush(stdout);
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "quit") break;
    Answer(line);
  }
  return 0;
}
