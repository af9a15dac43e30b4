// The base of the hosted controls: creation from a template with stored state, methods by
// DISPID, events to the container's sink map, and the object's lifetime.
#include "ocx/HostedControl.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Dialog.h"
#include "framework/Exceptions.h"

namespace {
int g_alive = 0;

class Counter : public CHostedControl {
 public:
  Counter() { ++g_alive; }
  ~Counter() override { --g_alive; }
  const MethodMap& GetMethodMap() const override {
    static const MethodEntry entries[] = {
        Method<&Counter::Add>(1),      Method<&Counter::Name>(2),    Method<&Counter::Fail>(3),
        Method<&Counter::Announce>(4), Method<&Counter::IsAbove>(5),
    };
    static const MethodMap map(entries);
    return map;
  }
  void OnCreateControl() override { total = StoredInt("start", 0); }
  long Add(short amount, long times) { return total += long(amount) * times; }
  CString Name(const CString& prefix) { return prefix + StoredValue("name", "nameless"); }
  void Fail() { throw std::runtime_error("The counter broke."); }
  void Announce() { FireEvent(7, {CVariant::I4(total), CVariant::I4(-1)}); }
  bool IsAbove(long limit) { return total > limit; }
  long total = 0;
};

class Host : public CDialog {
 public:
  Host() : CDialog(950) {}
  const EventSinkMap* GetEventSinkMap() const override {
    static const EventSinkEntry entries[] = {OnEvent<&Host::OnAnnounce>(951, 7)};
    static const EventSinkMap map{CDialog::GetEventSinkMap(), entries};
    return &map;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 951, counter); }
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
  ASSERT_TRUE(host.Create(950));
  Counter* first = ControlOf(host.GetDlgItem(951));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->total, 40);
  EXPECT_EQ(first->StoredColour("colour", 0), RGB(0, 255, 0));
  EXPECT_STREQ(first->StoredValue("name"), "Two words");
  EXPECT_EQ(first->StoredInt("size", 8), 8) << "garbled numbers fall back";
  EXPECT_EQ(first->StoredInt("broken", 5), 5);
  Counter* second = ControlOf(host.GetDlgItem(952));
  EXPECT_EQ(second->total, 0) << "no stored state: defaults";
  host.DestroyWindow();
}

TEST(HostedControl, MethodsRunByDispidWithTypedArgumentsAndResults) {
  Host host;
  ASSERT_TRUE(host.Create(950));
  long total = 0;
  host.counter.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(3), CVariant::I4(2)});
  EXPECT_EQ(total, 46);
  CString name;
  host.counter.InvokeHelper(2, DISPATCH_METHOD, VT_BSTR, &name, {CVariant::Text("Counter ")});
  EXPECT_STREQ(name, "Counter Two words");
  BOOL above = FALSE;
  host.counter.InvokeHelper(5, DISPATCH_METHOD, VT_BOOL, &above, {CVariant::I4(45)});
  EXPECT_TRUE(above);
  host.counter.InvokeHelper(4, DISPATCH_METHOD, VT_EMPTY, nullptr);
  EXPECT_EQ(host.heard, 46 * 10 - 1);
}

TEST(HostedControl, BadCallsThrowForTheCallerAndTheControlGoesOn) {
  Host host;
  ASSERT_TRUE(host.Create(950));
  try {
    host.counter.InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, nullptr);
    FAIL();
  } catch (const COleDispatchException& e) {
    EXPECT_STREQ(e.GetErrorMessage(), "The counter broke.");
  }
  EXPECT_THROW(host.counter.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I2(1)}),
               COleDispatchException);
  EXPECT_THROW(host.counter.InvokeHelper(2, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(1)}),
               COleDispatchException);
  EXPECT_THROW(host.counter.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr), COleDispatchException);
  long total = 0;
  host.counter.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(0), CVariant::I4(0)});
  EXPECT_EQ(total, 40);
}

TEST(HostedControl, TheObjectLivesWhileItsWindowOrACallerHoldsIt) {
  int before = g_alive;
  IDispatch* held = nullptr;
  {
    Host host;
    ASSERT_TRUE(host.Create(950));
    EXPECT_EQ(g_alive, before + 2);
    held = reinterpret_cast<IDispatch*>(SendMessageA(host.GetDlgItem(952), GetDispatchMessageId(), 0, 0));
    host.DestroyWindow();
    EXPECT_EQ(g_alive, before + 1) << "the held control outlives its window";
  }
  VARIANT result;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(held->Invoke(5, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  held->Release();
  EXPECT_EQ(g_alive, before);
}

TEST(HostedControl, AWrapperCreatesItsControlOutsideATemplateWithDefaultState) {
  Host host;
  ASSERT_TRUE(host.Create(950));
  CWnd wrapper;
  ASSERT_TRUE(wrapper.CreateEx(0, "TidybarTest.Counter", "", WS_CHILD, 0, 0, 20, 20, host.m_hWnd,
                               reinterpret_cast<HMENU>(UINT_PTR(953))));
  EXPECT_EQ(wrapper.m_hWnd, host.GetDlgItem(953));
  EXPECT_EQ(ControlOf(wrapper.m_hWnd)->total, 0) << "no template, no stored state";
  long total = -1;
  wrapper.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &total, {CVariant::I2(2), CVariant::I4(3)});
  EXPECT_EQ(total, 6);
}
