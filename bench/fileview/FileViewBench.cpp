// The file view on folders of several sizes, each beside references measured in the same
// run, alternately:
//  - first screen: the file view made and drawn, against a bare virtual list view
//    (LVS_OWNERDATA) given the same names, the cheapest way to show them;
//  - all icons in: the file view until its last icon, against a loop making the same
//    shell icon look-ups (one per file type, one per file with an icon of its own);
//  - visible icons in, and the longest single message the view's window handled meanwhile,
//    which is how long input waits at worst.
// Usage: fileview_bench <runs> <folder>...
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "bench/support/Stats.h"
#include "framework/Handles.h"
#include "ocx/fileview/FileViewControl.h"
#include "ocx/fileview/IconSource.h"
#include "res/resource.h"

#include "bench/support/Clock.h"

namespace {
const int kWidth = 480, kHeight = 600;  // about a selector window, a little larger

// Handles one message if there is one; returns how long its handling took, or 0.
double PumpOne() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    return 0;
  }
  double start = NowMs();
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return NowMs() - start;
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (listing == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] != '.') names.push_back(found.cFileName);
  } while (FindNextFileA(listing, &found));
  FindClose(listing);
  return names;
}

// The reference view's parent: hands the names to the virtual list view.
std::vector<std::string>* g_names = nullptr;
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOA && g_names) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
    if ((item.mask & LVIF_TEXT) && size_t(item.iItem) < g_names->size())
      lstrcpynA(item.pszText, (*g_names)[size_t(item.iItem)].c_str(), item.cchTextMax);
    if (item.mask & LVIF_IMAGE) item.iImage = 0;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeFrame() {
  HWND frame = CreateWindowExA(0, "FileViewBenchFrame", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(frame);
  return frame;
}

// Reference, first screen: the names read and shown by a bare virtual list view.
double BareListView(const std::string& folder) {
  HWND frame = MakeFrame();
  double start = NowMs();
  std::vector<std::string> names = NamesIn(folder);
  g_names = &names;
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE | LVS_OWNERDATA,
                              0, 0, kWidth, kHeight, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  ListView_SetItemCountEx(list, int(names.size()), 0);
  UpdateWindow(frame);
  double elapsed = NowMs() - start;
  DestroyWindow(frame);
  g_names = nullptr;
  return elapsed;
}

bool HasOwnIcon(const char* name) {
  static const char* const kinds[] = {".EXE", ".LNK", ".ICO", ".CUR", ".ANI", ".URL", ".PIF", ".SCR", ".CPL", ".MSC"};
  const char* extension = PathFindExtensionA(name);
  for (const char* kind : kinds)
    if (lstrcmpiA(extension, kind) == 0) return true;
  return false;
}

int TypeIconLookUp(const char* name) {
  SHFILEINFOA info{};
  std::string typeName = std::string("file") + PathFindExtensionA(name);
  SHGetFileInfoA(typeName.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
  return info.iIcon;
}

// Reference, all icons: each file's own icon looked up by its whole path, one look-up per
// file type for the rest, in a plain loop; the way the view looked icons up before.
double PathIconLoop(const std::string& folder) {
  double start = NowMs();
  std::set<std::string> types;
  SHFILEINFOA info{};
  for (const std::string& name : NamesIn(folder)) {
    std::string path = folder + "\\" + name;
    if (HasOwnIcon(name.c_str()))
      SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
    else if (types.insert(PathFindExtensionA(name.c_str())).second) TypeIconLookUp(name.c_str());
  }
  return NowMs() - start;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Reference, all icons: the look-ups the view makes, in a plain loop: the folder parsed once,
// each file with an icon of its own looked up through it, one look-up per file type.
double FolderIconLoop(const std::string& folder) {
  double start = NowMs();
  ComPtr<IShellFolder> desktop, shellFolder;
  ITEMIDLIST* parsed = nullptr;
  std::wstring wideFolder = Wide(folder);
  SHGetDesktopFolder(desktop.Receive());
  desktop->ParseDisplayName(nullptr, nullptr, &wideFolder[0], nullptr, &parsed, nullptr);
  PidlHandle folderPidl(parsed);
  desktop->BindToObject(folderPidl.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(shellFolder.Receive()));
  if (!shellFolder) return 0;
  std::set<std::string> types;
  for (const std::string& name : NamesIn(folder)) {
    if (HasOwnIcon(name.c_str())) {
      std::wstring wideName = Wide(name);
      parsed = nullptr;
      shellFolder->ParseDisplayName(nullptr, nullptr, &wideName[0], nullptr, &parsed, nullptr);
      PidlHandle child(parsed);
      PidlHandle full(ILCombine(folderPidl.Get(), child.Get()));
      SHFILEINFOA info{};
      SHGetFileInfoA(reinterpret_cast<const char*>(full.Get()), 0, &info, sizeof info,
                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
    } else if (types.insert(PathFindExtensionA(name.c_str())).second) {
      TypeIconLookUp(name.c_str());
    }
  }
  return NowMs() - start;
}

struct ViewTimes {
  double firstScreen = 0, visibleIcons = 0, allIcons = 0, longestMessage = 0;
};

ViewTimes FileView(const std::string& folder) {
  HWND frame = MakeFrame();
  std::string state = "root=" + folder + ";filter=*.*;font=Tahoma";
  std::vector<WORD> data(1 + state.size());
  data[0] = WORD(state.size() * 2);
  for (size_t i = 0; i < state.size(); ++i) data[1 + i] = static_cast<unsigned char>(state[i]);
  ViewTimes times;
  double start = NowMs();
  HWND window = CreateWindowExA(0, CLSID_CLASS_FILE_VIEW, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, frame,
                                nullptr, GetModuleHandleA(nullptr), data.data());
  UpdateWindow(frame);
  times.firstScreen = NowMs() - start;
  auto* view = static_cast<CFileViewControl*>(CWnd::FromHandlePermanent(window));
  bool visibleIn = false;
  while (view && view->IsLoadingIcons() && NowMs() - start < 600000) {
    times.longestMessage = std::max(times.longestMessage, PumpOne());
    if (!visibleIn && !view->IsLoadingVisibleIcons()) {
      UpdateWindow(frame);  // the replaced icons drawn
      times.visibleIcons = NowMs() - start;
      visibleIn = true;
    }
  }
  times.allIcons = NowMs() - start;
  if (!visibleIn) times.visibleIcons = times.allIcons;
  DestroyWindow(frame);
  for (int i = 0; i < 20; ++i) PumpOne();
  return times;
}

void Measure(const std::string& folder, int runs) {
  size_t items = NamesIn(folder).size();
  std::vector<double> bare, loop, pathLoop, first, visible, all, longest;
  for (int i = 0; i < runs; ++i) {
    bare.push_back(BareListView(folder));
    ViewTimes view = FileView(folder);
    loop.push_back(FolderIconLoop(folder));  // after the view, so both meet the shell equally warm
    pathLoop.push_back(PathIconLoop(folder));
    first.push_back(view.firstScreen), visible.push_back(view.visibleIcons), all.push_back(view.allIcons);
    longest.push_back(view.longestMessage);
  }
  std::printf("%s: %zu items, %d runs\n", PathFindFileNameA(folder.c_str()), items, runs);
  PrintSpread("file view first screen", first, "ms");
  PrintSpread("bare virtual list view first screen", bare, "ms");
  PrintSpread("ratio", Ratios(first, bare), "x", 2);
  PrintSpread("file view all icons in", all, "ms");
  PrintSpread("loop of the same icon look-ups", loop, "ms");
  PrintSpread("ratio", Ratios(all, loop), "x", 2);
  PrintSpread("loop of look-ups by whole path", pathLoop, "ms");
  PrintSpread("file view visible icons in (aim 300)", visible, "ms");
  PrintSpread("longest message while loading (aim 50)", longest, "ms");
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: fileview_bench <runs> <folder>...\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  OleInitialize(nullptr);
  InitCommonControls();
  CFileViewControl::Register();
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = &FrameProc;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  frameClass.lpszClassName = "FileViewBenchFrame";
  RegisterClassA(&frameClass);
  for (int i = 2; i < argc; ++i) {
    char full[MAX_PATH];
    if (GetFullPathNameA(argv[i], MAX_PATH, full, nullptr)) Measure(full, runs);
  }
  OleUninitialize();
  return 0;
}
