// CHostedControl: the base of our hosted controls. Each control is a window class named by
// its CLSID in braces; the class creates the control object with its window and frees it
// when the window and every caller are done with it. Containers reach the control's
// methods through IDispatch (by DISPID, from the method table) and hear its events through
// RaiseControlEvent (framework/ControlEvents.h).
//
// Stored initial state: a template gives a control its state as creation data, a wide text
// of "key=value" pairs separated by ";" (see res/README.md). StoredValue reads it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <map>
#include <string>

#include "framework/ComObject.h"
#include "framework/ControlEvents.h"
#include "framework/RowTable.h"
#include "framework/VariantArgs.h"
#include "framework/Wnd.h"

class CHostedControl;
using MethodThunk = HRESULT (*)(CHostedControl* control, DISPPARAMS* params, VARIANT* result);

struct MethodEntry {
  DISPID dispid;
  MethodThunk thunk;
};

using MethodMap = RowTable<MethodEntry>;  // methods have no base table

// One row of a method table: `Method<&CMp3Control::Seek>(6)`.
template <auto F> MethodEntry Method(DISPID dispid) {
  using Class = typename varargs::Member<decltype(F)>::Class;
  return {dispid, [](CHostedControl* control, DISPPARAMS* params, VARIANT* result) {
            return varargs::Call<F>(static_cast<Class*>(control), params, result);
          }};
}

// Its one starting reference is the window's own, given up when the window goes.
class CHostedControl : public CWnd, public CComObject<IDispatch, &IID_IDispatch> {
 public:
  // Registers the window class `className` (a CLSID in braces) whose windows are T objects.
  template <class T>
  static bool RegisterControlClass(const char* className, HCURSOR cursor = LoadCursorA(nullptr, IDC_ARROW)) {
    return RegisterWithFactory(className, cursor, [] { return static_cast<CHostedControl*>(new T()); });
  }

  // The stored state given by the template ("key=value;..."), read once at creation.
  CString StoredValue(const char* key, const char* fallback = "") const;
  int StoredInt(const char* key, int fallback) const;
  double StoredDouble(const char* key, double fallback) const;
  COLORREF StoredColour(const char* key, COLORREF fallback) const;

  // Raises an event to the container, arguments first to last.
  HRESULT FireEvent(DISPID dispid, std::initializer_list<CVariant> args = {});

  virtual const MethodMap& GetMethodMap() const;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* badArg) override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  CHostedControl() = default;
  ~CHostedControl() override = default;
  // Called once the window exists and the stored state is read (from WM_CREATE).
  virtual void OnCreateControl() {}
  void PostNcDestroy() override;
  // Parses "key=value;key=value" (blanks around keys and values are dropped).
  void ParseStoredState(const char* text, size_t length);

 private:
  using Factory = CHostedControl* (*)();
  static bool RegisterWithFactory(const char* className, HCURSOR cursor, Factory factory);
  static LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReadCreationData(const CREATESTRUCTA* create);

  std::map<std::string, std::string> m_stored;
};
