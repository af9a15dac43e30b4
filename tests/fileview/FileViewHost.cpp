#include "FileViewHost.h"

#include <commctrl.h>

#include "ocx/fileview/FileViewContract.h"
#include "res/resource.h"
#include "tests/support/TestKit.h"

namespace {
// The file view's own class replaces the placeholder every test program registers.
struct Registered {
  Registered() { CFileViewControl::Register(); }
} g_registered;

template <auto F> void AddRows(std::vector<EventSinkEntry>& rows, DISPID dispid) {
  for (UINT id = 1002; id <= 1006; ++id) rows.push_back(OnEvent<F>(id, dispid));
}
}  // namespace

ViewHost::ViewHost() : CDialog(960) { Create(960); }

ViewHost::~ViewHost() { DestroyWindow(); }

const EventSinkMap* ViewHost::GetEventSinkMap() const {
  static const std::vector<EventSinkEntry> rows = [] {
    std::vector<EventSinkEntry> all;
    AddRows<&ViewHost::OnFolderShown>(all, fileviewcontract::kFolderShown);
    AddRows<&ViewHost::OnItemOpened>(all, fileviewcontract::kItemOpened);
    AddRows<&ViewHost::OnDragOver>(all, fileviewcontract::kDragOver);
    AddRows<&ViewHost::OnBeforeTransfer>(all, fileviewcontract::kBeforeTransfer);
    AddRows<&ViewHost::OnDrop>(all, fileviewcontract::kDrop);
    return all;
  }();
  static EventSinkMap map(CDialog::GetEventSinkMap());
  map.entries = rows.data();
  map.count = rows.size();
  return &map;
}

CFileViewControl* ViewHost::AddView(int id, const std::string& state, int x, int y, int width, int height) {
  CFileViewControl* view = MakeView(id, state, x, y, width, height);
  PumpUntilDone([] { return false; }, 20);  // the first folder's event is posted
  return view;
}

CFileViewControl* ViewHost::MakeView(int id, const std::string& state, int x, int y, int width, int height) {
  // Stored state as a template gives it: a size word, then wide text.
  std::vector<WORD> data(1 + state.size());
  data[0] = WORD(state.size() * 2);
  for (size_t i = 0; i < state.size(); ++i) data[1 + i] = static_cast<unsigned char>(state[i]);
  HWND window = CreateWindowExA(0, CLSID_CLASS_FILE_VIEW, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height,
                                m_hWnd, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), data.data());
  return static_cast<CFileViewControl*>(CWnd::FromHandlePermanent(window));
}

std::vector<HeardEvent> ViewHost::Heard(DISPID dispid) const {
  std::vector<HeardEvent> found;
  for (const HeardEvent& event : heard)
    if (event.dispid == dispid) found.push_back(event);
  return found;
}

void ViewHost::OnFolderShown(IDispatch* view, long count, long backSteps) {
  heard.push_back({1, view, {double(count), double(backSteps)}});
}

void ViewHost::OnItemOpened(IDispatch* view, bool isFolder) { heard.push_back({10, view, {isFolder ? 1.0 : 0.0}}); }

void ViewHost::OnDragOver(IDispatch* view, long* effect, long keys, long count, float x, float y, long state,
                          IDispatch* source) {
  heard.push_back({22, view, {double(*effect), double(keys), double(count), x, y, double(state)}, source});
  if (dragEffectLimit >= 0) *effect &= dragEffectLimit;
}

void ViewHost::OnBeforeTransfer(IDispatch* view, long* effect, long count, VARIANT_BOOL* cancel) {
  heard.push_back({24, view, {double(*effect), double(count)}});
  if (transferEffect) *effect = transferEffect;
  if (cancelTransfer) *cancel = VARIANT_TRUE;
}

void ViewHost::OnDrop(IDispatch* view, long effects, long keys, long count, float x, float y, IDispatch* source,
                      VARIANT_BOOL* cancel) {
  heard.push_back({25, view, {double(effects), double(keys), double(count), x, y}, source});
  if (cancelDrop) *cancel = VARIANT_TRUE;
}

IDispatch* DispatchOf(CFileViewControl* view) { return static_cast<IDispatch*>(view); }

std::vector<std::string> ShownNames(CFileViewControl* view) {
  std::vector<std::string> names;
  HWND list = view->GetListView();
  int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = {0};
    ListView_GetItemText(list, i, 0, text, MAX_PATH);
    names.push_back(text);
  }
  return names;
}

void PressKey(CFileViewControl* view, WORD key, bool control, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE savedControl = keys[VK_CONTROL], savedShift = keys[VK_SHIFT];
  keys[VK_CONTROL] = control ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  SendMessageA(view->GetListView(), WM_KEYDOWN, key, 1);
  keys[VK_CONTROL] = savedControl;
  keys[VK_SHIFT] = savedShift;
  SetKeyboardState(keys);
}

void SelectOnly(CFileViewControl* view, const std::vector<int>& indices) {
  HWND list = view->GetListView();
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int i : indices) ListView_SetItemState(list, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int IndexOf(CFileViewControl* view, const std::string& name) {
  const auto& items = view->GetListing().Items();
  for (size_t i = 0; i < items.size(); ++i)
    if (name == items[i].name.GetString()) return int(i);
  return -1;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool PumpUntilDone(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}
