// A file view on a folder of many files beside a bare list view filled with the names
// alone, alternately in one process. Measured: from the start until the first screen of
// items is drawn (for both), and until the view has every icon in.
// Usage: fileview_bench <folder> [runs]
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ocx/fileview/FileViewControl.h"
#include "res/resource.h"

namespace {
const int kWidth = 480, kHeight = 600;  // about a selector window, a little larger

double NowMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void PumpOne() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

HWND MakeFrame() {
  HWND frame = CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(frame);
  return frame;
}

// The reference: the folder's names read and put into a plain icon list view, then drawn.
double BareListView(const std::string& folder) {
  HWND frame = MakeFrame();
  double start = NowMs();
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE, 0, 0, kWidth,
                              kHeight, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  WIN32_FIND_DATAA found;
  HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
  int index = 0;
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      if (found.cFileName[0] == '.') continue;
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = index++;
      item.pszText = found.cFileName;
      ListView_InsertItem(list, &item);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(frame);
  double elapsed = NowMs() - start;
  DestroyWindow(frame);
  return elapsed;
}

struct ViewTimes {
  double firstScreen;
  double allIcons;
};

ViewTimes FileView(const std::string& folder) {
  HWND frame = MakeFrame();
  std::string state = "root=" + folder + ";filter=*.*;font=Tahoma";
  std::vector<WORD> data(1 + state.size());
  data[0] = WORD(state.size() * 2);
  for (size_t i = 0; i < state.size(); ++i) data[1 + i] = static_cast<unsigned char>(state[i]);
  double start = NowMs();
  HWND window = CreateWindowExA(0, CLSID_CLASS_FILE_VIEW, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                frame, nullptr, GetModuleHandleA(nullptr), data.data());
  UpdateWindow(frame);
  ViewTimes times{NowMs() - start, 0};
  auto* view = static_cast<CFileViewControl*>(CWnd::FromHandlePermanent(window));
  while (view && view->IsLoadingIcons() && NowMs() - start < 600000) PumpOne();
  times.allIcons = NowMs() - start;
  DestroyWindow(frame);
  for (int i = 0; i < 20; ++i) PumpOne();
  return times;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: fileview_bench <folder> [runs]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  OleInitialize(nullptr);
  InitCommonControls();
  CFileViewControl::Register();

  std::vector<double> bare, first, icons;
  for (int i = 0; i < runs; ++i) {
    bare.push_back(BareListView(folder));
    ViewTimes view = FileView(folder);
    first.push_back(view.firstScreen);
    icons.push_back(view.allIcons);
    std::printf("run %d: bare list view %.1f ms, file view first screen %.1f ms, all icons %.1f ms\n", i + 1,
                bare.back(), view.firstScreen, view.allIcons);
  }
  double reference = Median(bare), shown = Median(first), complete = Median(icons);
  std::printf("first screen: file view %.1f ms, bare list view %.1f ms, ratio %.2f (median of %d)\n", shown, reference,
              shown / reference, runs);
  std::printf("all icons in: file view %.1f ms, ratio to the bare fill %.2f\n", complete, complete / reference);
  OleUninitialize();
  return 0;
}
