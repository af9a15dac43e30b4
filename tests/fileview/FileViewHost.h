// A dialog that hosts file views for the tests and records the events they raise.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "ocx/fileview/FileViewControl.h"

struct HeardEvent {
  DISPID dispid;
  IDispatch* view;
  std::vector<double> values;  // the numeric parameters, in order
  IDispatch* source = nullptr;
};

class ViewHost : public CDialog {
 public:
  ViewHost();
  ~ViewHost() override;
  // A view made as child `id` with the stored state `state` ("root=...;filter=..."), once
  // the messages it posted at its start have been handled.
  CFileViewControl* AddView(int id, const std::string& state, int x = 320, int y = 10, int width = 300,
                            int height = 200);
  // The same view, before any of its messages are handled.
  CFileViewControl* MakeView(int id, const std::string& state, int x = 320, int y = 10, int width = 300,
                             int height = 200);
  std::vector<HeardEvent> Heard(DISPID dispid) const;

  std::vector<HeardEvent> heard;
  bool cancelDrop = false;
  bool cancelTransfer = false;
  long transferEffect = 0;  // when not 0, BeforeTransfer switches to this effect
  long dragEffectLimit = -1;

  const EventSinkMap* GetEventSinkMap() const override;

 private:
  void OnFolderShown(IDispatch* view, long count, long backSteps);
  void OnItemOpened(IDispatch* view, bool isFolder);
  void OnDragOver(IDispatch* view, long* effect, long keys, long count, float x, float y, long state,
                  IDispatch* source);
  void OnBeforeTransfer(IDispatch* view, long* effect, long count, VARIANT_BOOL* cancel);
  void OnDrop(IDispatch* view, long effects, long keys, long count, float x, float y, IDispatch* source,
              VARIANT_BOOL* cancel);
};

IDispatch* DispatchOf(CFileViewControl* view);
// The names the view's list shows, in order, as the list view reports them.
std::vector<std::string> ShownNames(CFileViewControl* view);
// Sends a key to the view's list with Ctrl and Shift held or not.
void PressKey(CFileViewControl* view, WORD key, bool control = false, bool shift = false);
void SelectOnly(CFileViewControl* view, const std::vector<int>& indices);
int IndexOf(CFileViewControl* view, const std::string& name);
bool Exists(const std::string& path);
// Runs messages one at a time until `done` or the time is up. (While icons come in, a
// timer keeps the queue busy: a pump that first empties the queue would not come back.)
bool PumpUntilDone(const std::function<bool()>& done, DWORD timeoutMs = 5000);
