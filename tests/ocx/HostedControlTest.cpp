// The base of the hosted controls: creation from a template with stored state, methods by
// DISPID, events to the container's sink map, and the object's lifetime.
#include "ocx/HostedControl.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Dialog.h"
#include "framework/Exceptions.h"
#include "tests/ocx/OcxTestIds.h"

namespace {
int g_alive = 0;

// The test control's contract.
enum CounterDispid : DISPID { kAdd = 1, kName, kFail, kAnnounce, kIsAbove, kAnnounced = 7, kUnknown = 99 };

class Counter : public CHostedControl {
 public:
  Counter() { ++g_alive; }
  ~Counter() override { --g_alive; }
  const MethodMap& GetMethodMap() const override {
    static const MethodEntry entries[] = {
        Method<&Counter::Add>(kAdd),            // long Add(short amount, long times)
        Method<&Counter::Name>(kName),          // CString Name(const CString& prefix)
        Method<&Counter::Fail>(kFail),          // void Fail(), which throws
        Method<&Counter::Announce>(kAnnounce),  // void Announce(), which raises kAnnounced
        Method<&Counter::IsAbove>(kIsAbove),    // bool IsAbove(long limit)
    };
    static const MethodMap map(entries);
    return map;
  }
  void OnCreateControl() override { total = StoredInt("start", 0); }
  long Add(short amount, long times) { return total += long(amount) * times; }
  CString Name(const CString& prefix) { return prefix + StoredValue("name", "nameless"); }
  void Fail() { throw std::runtime_error("The counter broke."); }
  void Announce() { FireEvent(kAnnounced, {CVariant::I4(total), CVariant::I4(-1)}); }
  bool IsAbove(long limit) { return total > limit; }
  long total = 0;
};

class Host : public CDialog {
 public:
  Host() : CDialog(IDD_COUNTER_HOST) {}
  const EventSinkMap* GetEventSinkMap() const override {
    static const EventSinkEntry entries[] = {OnEvent<&Host::OnAnnounce>(IDC_COUNTER_STORED, kAnnounced)};
    static const EventSinkMap map{CDialog::GetEventSinkMap(), entries};
    return &map;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_COUNTER_STORED, counter); }
  void OnAnnounce(long value, long marker) { heard = value * 10 + marker; }
  CWnd counter;  // a wrapper: the control's window bound by data exchange
  long heard = 0;
};

struct Registered {
  Registered() { CHostedControl::RegisterControlClass<Counter>("TidybarTest.Counter"); }
} g_registered;

Counter* ControlOf(HWND window) { return static_cast<Counter*>(CWnd::FromHandlePermanent(window)); }
}  // namespace

TEST(HostedControl, ReadsItsStoredStateFromTheTemplate) {
  Host host;
  ASSERT_TRUE(host.Create(IDD_COUNTER_HOST));
  Counter* first = ControlOf(host.GetDlgItem(IDC_COUNTER_STORED));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->total, 40);
  EXPECT_EQ(first->StoredColour("colour", 0), RGB(0, 255, 0));
  EXPECT_STREQ(first->StoredValue("name"), "Two words");
  EXPECT_EQ(first->StoredInt("size", 8), 8) << "garbled numbers fall back";
  EXPECT_EQ(first->StoredInt("broken", 5), 5);
  Counter* second = ControlOf(host.GetDlgItem(IDC_COUNTER_PLAIN));
  EXPECT_EQ(second->total, 0) << "no stored state: defaults";
  host.DestroyWindow();
}

TEST(HostedControl, MethodsRunByDispidWithTypedArgumentsAndResults) {
  Host host;
  ASSERT_TRUE(host.Create(IDD_COUNTER_HOST));
  long total = 0;
  host.counter.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(3), CVariant::I4(2)});
  EXPECT_EQ(total, 46);
  CString name;
  host.counter.InvokeHelper(kName, DISPATCH_METHOD, VT_BSTR, &name, {CVariant::Text("Counter ")});
  EXPECT_STREQ(name, "Counter Two words");
  BOOL above = FALSE;
  host.counter.InvokeHelper(kIsAbove, DISPATCH_METHOD, VT_BOOL, &above, {CVariant::I4(45)});
  EXPECT_TRUE(above);
  host.counter.InvokeHelper(kAnnounce, DISPATCH_METHOD, VT_EMPTY, nullptr);
  EXPECT_EQ(host.heard, 46 * 10 - 1);
}

TEST(HostedControl, BadCallsThrowForTheCallerAndTheControlGoesOn) {
  Host host;
  ASSERT_TRUE(host.Create(IDD_COUNTER_HOST));
  try {
    host.counter.InvokeHelper(kFail, DISPATCH_METHOD, VT_EMPTY, nullptr);
    FAIL();
  } catch (const COleDispatchException& e) {
    EXPECT_STREQ(e.GetErrorMessage(), "The counter broke.");
  }
  EXPECT_THROW(host.counter.InvokeHelper(kAdd, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I2(1)}),
               COleDispatchException);
  EXPECT_THROW(host.counter.InvokeHelper(kName, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(1)}),
               COleDispatchException);
  EXPECT_THROW(host.counter.InvokeHelper(kUnknown, DISPATCH_METHOD, VT_EMPTY, nullptr), COleDispatchException);
  long total = 0;
  host.counter.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(0), CVariant::I4(0)});
  EXPECT_EQ(total, 40);
}

TEST(HostedControl, TheObjectLivesWhileItsWindowOrACallerHoldsIt) {
  int before = g_alive;
  IDispatch* held = nullptr;
  {
    Host host;
    ASSERT_TRUE(host.Create(IDD_COUNTER_HOST));
    EXPECT_EQ(g_alive, before + 2);
    held = reinterpret_cast<IDispatch*>(SendMessageA(host.GetDlgItem(IDC_COUNTER_PLAIN), GetDispatchMessageId(), 0, 0));
    host.DestroyWindow();
    EXPECT_EQ(g_alive, before + 1) << "the held control outlives its window";
  }
  VARIANT result;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(held->Invoke(kIsAbove, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  held->Release();
  EXPECT_EQ(g_alive, before);
}

TEST(HostedControl, AWrapperCreatesItsControlOutsideATemplateWithDefaultState) {
  Host host;
  ASSERT_TRUE(host.Create(IDD_COUNTER_HOST));
  CWnd wrapper;
  ASSERT_TRUE(wrapper.CreateEx(0, "TidybarTest.Counter", "", WS_CHILD, 0, 0, 20, 20, host.m_hWnd,
                               reinterpret_cast<HMENU>(UINT_PTR(IDC_COUNTER_MADE))));
  EXPECT_EQ(wrapper.m_hWnd, host.GetDlgItem(IDC_COUNTER_MADE));
  EXPECT_EQ(ControlOf(wrapper.m_hWnd)->total, 0) << "no template, no stored state";
  long total = -1;
  wrapper.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(2), CVariant::I4(3)});
  EXPECT_EQ(total, 6);
}
