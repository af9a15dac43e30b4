// Message maps and event sink maps: static tables, one row per entry, each chaining to the
// table of its base class.
//
//   const MessageMap* CMyDlg::GetMessageMap() const {
//     static const MessageEntry entries[] = {
//         OnMessage(WM_PAINT, &CMyDlg::OnPaint),
//         OnNotify(NM_RELEASEDCAPTURE, 1022, &CMyDlg::OnVolumeReleased),
//     };
//     static const MessageMap map{CDialog::GetMessageMap(), entries};
//     return &map;
//   }
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstring>
#include <tuple>
#include <utility>

class CWnd;

using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
constexpr UINT kAnyCode = 0xFFFFFFFF;

struct MessageEntry {
  UINT message;
  UINT id;    // control id for WM_COMMAND and WM_NOTIFY rows, else kAnyCode
  UINT code;  // notification code for WM_COMMAND and WM_NOTIFY rows, else kAnyCode
  MessageHandler handler;
};

struct MessageMap {
  const MessageMap* base;
  const MessageEntry* entries;
  size_t count;
  template <size_t N>
  MessageMap(const MessageMap* baseMap, const MessageEntry (&rows)[N]) : base(baseMap), entries(rows), count(N) {}
  MessageMap(const MessageMap* baseMap) : base(baseMap), entries(nullptr), count(0) {}
};

template <class T>
MessageEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {message, kAnyCode, kAnyCode, static_cast<MessageHandler>(handler)};
}
// WM_COMMAND from control or menu item `id` with notification `code` (0: a click).
template <class T>
MessageEntry OnCommand(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM), UINT code = 0) {
  return {WM_COMMAND, id, code, static_cast<MessageHandler>(handler)};
}
template <class T>
MessageEntry OnNotify(UINT code, UINT id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {WM_NOTIFY, id, code, static_cast<MessageHandler>(handler)};
}

// Event sink maps: a hosted control's event (control id, DISPID) to a member function whose
// parameters are the event's, in order. The row converts the event's arguments to them.
using EventThunk = HRESULT (*)(CWnd* target, DISPPARAMS* params);

struct EventSinkEntry {
  UINT controlId;
  DISPID dispid;
  EventThunk thunk;
};

struct EventSinkMap {
  const EventSinkMap* base;
  const EventSinkEntry* entries;
  size_t count;
  template <size_t N>
  EventSinkMap(const EventSinkMap* baseMap, const EventSinkEntry (&rows)[N]) : base(baseMap), entries(rows), count(N) {}
  EventSinkMap(const EventSinkMap* baseMap) : base(baseMap), entries(nullptr), count(0) {}
};

namespace eventsink {

// How one parameter type is taken from an event argument.
template <class A> struct Arg;

// Scalars are converted to the parameter's type as COM converts variants.
template <class T, VARTYPE VT>
struct Converted {
  static bool From(VARIANT& in, T& out) {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, &in, 0, VT))) return false;
    std::memcpy(&out, &v.lVal, sizeof(T));  // every scalar member starts where lVal does
    return true;
  }
};
template <> struct Arg<short> : Converted<short, VT_I2> {};
template <> struct Arg<long> : Converted<long, VT_I4> {};
template <> struct Arg<int> : Converted<int, VT_I4> {};
template <> struct Arg<float> : Converted<float, VT_R4> {};
template <> struct Arg<double> : Converted<double, VT_R8> {};

// VARIANT_BOOL is a short: a boolean by value arrives through Arg<short> as -1 or 0.
template <> struct Arg<IDispatch*> {
  static bool From(VARIANT& in, IDispatch*& out) {
    if (in.vt != VT_DISPATCH && in.vt != VT_EMPTY) return false;
    out = in.vt == VT_DISPATCH ? in.pdispVal : nullptr;
    return true;
  }
};
// By-reference parameters must arrive by reference with exactly their type.
template <> struct Arg<long*> {
  static bool From(VARIANT& in, long*& out) {
    if (in.vt != (VT_I4 | VT_BYREF)) return false;
    out = reinterpret_cast<long*>(in.plVal);
    return true;
  }
};
template <> struct Arg<VARIANT_BOOL*> {
  static bool From(VARIANT& in, VARIANT_BOOL*& out) {
    if (in.vt != (VT_BOOL | VT_BYREF) && in.vt != (VT_I2 | VT_BYREF)) return false;
    out = in.vt == (VT_BOOL | VT_BYREF) ? in.pboolVal : in.piVal;
    return true;
  }
};

template <class F> struct Member;
template <class C, class... A>
struct Member<void (C::*)(A...)> {
  using Class = C;
  using Args = std::tuple<A...>;
};

template <auto F, class Tuple, size_t... I>
HRESULT Call(CWnd* target, DISPPARAMS* params, std::index_sequence<I...>) {
  using Class = typename Member<decltype(F)>::Class;
  constexpr size_t n = sizeof...(I);
  if (!params || params->cArgs != n) return DISP_E_BADPARAMCOUNT;
  Tuple args{};
  // Arguments arrive last first.
  bool ok = (Arg<std::tuple_element_t<I, Tuple>>::From(params->rgvarg[n - 1 - I], std::get<I>(args)) && ... && true);
  if (!ok) return DISP_E_TYPEMISMATCH;
  (static_cast<Class*>(target)->*F)(std::get<I>(args)...);
  return S_OK;
}

template <auto F>
HRESULT Thunk(CWnd* target, DISPPARAMS* params) {
  using Args = typename Member<decltype(F)>::Args;
  return Call<F, Args>(target, params, std::make_index_sequence<std::tuple_size_v<Args>>());
}

}  // namespace eventsink

// One row of an event sink map: `OnEvent<&CMainBarDlg::OnProgress>(1021, 7)`.
template <auto F>
EventSinkEntry OnEvent(UINT controlId, DISPID dispid) {
  return {controlId, dispid, &eventsink::Thunk<F>};
}
