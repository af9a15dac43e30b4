// Hosted controls and their container: events by DISPID through the event sink map, and
// late-bound calls through InvokeHelper.
#include <gtest/gtest.h>

#include <vector>

#include "framework/ControlEvents.h"
#include "framework/Exceptions.h"
#include "framework/Wnd.h"

namespace {
// The fake control's methods and events, and the ids of the controls the tests make.
enum FakeMethod : DISPID { kAddNumbers = 3, kEchoText = 7, kFailWithText = 9 };
enum FakeEvent : DISPID { kStateEvent = 4, kUnmappedEvent = 5, kProgressEvent = 7, kDragEvent = 24 };
enum FakeControlId : int { kPlayerId = 21, kButtonId = 34, kViewId = 2, kUnmappedId = 99 };

// A control method table: kAddNumbers adds two longs, kEchoText hands its text back,
// kFailWithText fails with an exception description.
class FakeDispatch : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT*) override {
    calls.push_back(id);
    if (id == kAddNumbers) {
      if (params->cArgs != 2 || params->rgvarg[0].vt != VT_I4 || params->rgvarg[1].vt != VT_I2)
        return DISP_E_TYPEMISMATCH;
      result->vt = VT_I4;
      result->lVal = params->rgvarg[1].iVal * 1000 + params->rgvarg[0].lVal;  // first, then second
      return S_OK;
    }
    if (id == kEchoText) {
      if (params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(params->rgvarg[0].bstrVal);
      return S_OK;
    }
    if (id == kFailWithText) {
      info->bstrDescription = SysAllocString(L"The file could not be opened.");
      return DISP_E_EXCEPTION;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
  ULONG refs = 1;
  std::vector<DISPID> calls;
};

FakeDispatch g_dispatch;

LRESULT CALLBACK FakeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == GetDispatchMessageId()) {
    g_dispatch.AddRef();
    return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(&g_dispatch));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* FakeControlClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FakeControlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TidybarTest.FakeControl";
    RegisterClassA(&wc);
    registered = true;
  }
  return "TidybarTest.FakeControl";
}

class Container : public CWnd {
 public:
  const EventSinkMap* GetEventSinkMap() const override {
    static const EventSinkEntry entries[] = {
        OnEvent<&Container::OnProgress>(kPlayerId, kProgressEvent),
        OnEvent<&Container::OnState>(kPlayerId, kStateEvent),
        OnEvent<&Container::OnClick>(kButtonId, DISPID_CLICK),
        OnEvent<&Container::OnDrag>(kViewId, kDragEvent),
    };
    static const EventSinkMap map{CWnd::GetEventSinkMap(), entries};
    return &map;
  }
  void OnProgress(long position, long length) { progress.push_back({position, length}); }
  void OnState(short state) { states.push_back(state); }
  void OnClick() { ++clicks; }
  void OnDrag(IDispatch*, long* effect, long, VARIANT_BOOL* cancel) {
    *effect = 5;
    *cancel = VARIANT_TRUE;
  }
  std::vector<std::pair<long, long>> progress;
  std::vector<short> states;
  int clicks = 0;
};

struct Host {
  Host() {
    container.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr);
    for (int id : {kPlayerId, kButtonId, kViewId, kUnmappedId})
      controls.push_back(CreateWindowExA(0, FakeControlClass(), "", WS_CHILD, 0, 0, 10, 10, container.m_hWnd,
                                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr));
  }
  Container container;
  std::vector<HWND> controls;  // in that order
};

VARIANT Long(long v) {
  VARIANT x;
  x.vt = VT_I4;
  x.lVal = v;
  return x;
}
}  // namespace

TEST(ControlEvents, ReachTheSinkRowForControlAndDispidWithTypedParameters) {
  Host host;
  VARIANT progress[] = {Long(1500), Long(90000)};
  EXPECT_EQ(RaiseControlEvent(host.controls[0], kProgressEvent, progress, 2), S_OK);
  VARIANT state;
  state.vt = VT_I4;  // converted to the handler's 16-bit parameter
  state.lVal = 1;
  EXPECT_EQ(RaiseControlEvent(host.controls[0], kStateEvent, &state, 1), S_OK);
  EXPECT_EQ(RaiseControlEvent(host.controls[1], DISPID_CLICK), S_OK);
  ASSERT_EQ(host.container.progress.size(), 1u);
  EXPECT_EQ(host.container.progress[0], std::make_pair(1500L, 90000L));
  EXPECT_EQ(host.container.states, std::vector<short>{1});
  EXPECT_EQ(host.container.clicks, 1);
}

TEST(ControlEvents, WrongCountsTypesAndUnmappedEventsAreRefusedWithoutACall) {
  Host host;
  VARIANT one[] = {Long(1)};
  EXPECT_EQ(RaiseControlEvent(host.controls[0], kProgressEvent, one, 1), DISP_E_BADPARAMCOUNT);
  VARIANT text[2];
  text[0].vt = VT_BSTR;
  text[0].bstrVal = SysAllocString(L"not a number");
  text[1] = Long(3);
  EXPECT_EQ(RaiseControlEvent(host.controls[0], kProgressEvent, text, 2), DISP_E_TYPEMISMATCH);
  SysFreeString(text[0].bstrVal);
  EXPECT_EQ(RaiseControlEvent(host.controls[3], kProgressEvent, one, 1),
            DISP_E_MEMBERNOTFOUND);  // no row for kUnmappedId
  EXPECT_EQ(RaiseControlEvent(host.controls[1], kUnmappedEvent), DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(host.container.progress.empty());
  EXPECT_EQ(host.container.clicks, 0);
}

TEST(ControlEvents, ByReferenceParametersWriteBackAndMustArriveByReference) {
  Host host;
  long effect = 0;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[4];
  args[0].vt = VT_DISPATCH;
  args[0].pdispVal = nullptr;
  args[1].vt = VT_I4 | VT_BYREF;
  args[1].plVal = reinterpret_cast<LONG*>(&effect);
  args[2] = Long(0);
  args[3].vt = VT_BOOL | VT_BYREF;
  args[3].pboolVal = &cancel;
  EXPECT_EQ(RaiseControlEvent(host.controls[2], kDragEvent, args, 4), S_OK);
  EXPECT_EQ(effect, 5);
  EXPECT_EQ(cancel, VARIANT_TRUE);
  args[1] = Long(0);  // by value where a reference is expected
  EXPECT_EQ(RaiseControlEvent(host.controls[2], kDragEvent, args, 4), DISP_E_TYPEMISMATCH);
}

TEST(InvokeHelper, PassesArgumentsFirstToLastAndConvertsTheResult) {
  Host host;
  CWnd control;
  ASSERT_TRUE(control.SubclassWindow(host.controls[0]));
  long sum = 0;
  control.InvokeHelper(kAddNumbers, DISPATCH_METHOD, VT_I4, &sum, {CVariant::I2(4), CVariant::I4(56)});
  EXPECT_EQ(sum, 4056);
  CString echoed;
  control.InvokeHelper(kEchoText, DISPATCH_METHOD, VT_BSTR, &echoed, {CVariant::Text("C:\\tyb\\simple.mp3")});
  EXPECT_STREQ(echoed, "C:\\tyb\\simple.mp3");
  short narrowed = 0;
  control.InvokeHelper(kAddNumbers, DISPATCH_METHOD, VT_I2, &narrowed, {CVariant::I2(0), CVariant::I4(77)});
  EXPECT_EQ(narrowed, 77);
  control.UnsubclassWindow();
}

TEST(InvokeHelper, FailuresThrowTheDispatchExceptionWithTheControlsText) {
  Host host;
  CWnd control;
  ASSERT_TRUE(control.SubclassWindow(host.controls[0]));
  try {
    control.InvokeHelper(kFailWithText, DISPATCH_METHOD, VT_EMPTY, nullptr);
    FAIL();
  } catch (const COleDispatchException& e) {
    EXPECT_EQ(e.m_scError, DISP_E_EXCEPTION);
    EXPECT_STREQ(e.GetErrorMessage(), "The file could not be opened.");
  }
  EXPECT_THROW(control.InvokeHelper(kAddNumbers, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(1)}),
               COleDispatchException);  // wrong count
  EXPECT_THROW(
      control.InvokeHelper(kAddNumbers, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::Text("x"), CVariant::I4(1)}),
      COleDispatchException);  // wrong type
  CWnd plain;                  // a window that is no control
  plain.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
  EXPECT_THROW(plain.InvokeHelper(kAddNumbers, DISPATCH_METHOD, VT_EMPTY, nullptr), COleDispatchException);
  control.UnsubclassWindow();
  EXPECT_EQ(g_dispatch.refs, 1u);  // every call released the control's interface
}
