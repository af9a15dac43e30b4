// Message maps and event sink maps: static tables, one row per entry, each chaining to the
// table of its base class. Rows take their arguments in one order: control id, then
// notification code, then handler.
//
//   const MessageMap* CMyDlg::GetMessageMap() const {
//     static const MessageEntry entries[] = {
//         OnMessage<WM_TIMER>(&CMyDlg::OnTimer),                          // void OnTimer(UINT_PTR id)
//         OnCommand(IDC_BACK, &CMyDlg::OnBack),                           // void OnBack()
//         OnNotify(IDC_VOLUME, NM_RELEASEDCAPTURE, &CMyDlg::OnReleased),  // LRESULT OnReleased(NMHDR*)
//         OnMessage(WM_APP + 1, &CMyDlg::OnPrivate),                      // LRESULT OnPrivate(WPARAM, LPARAM)
//     };
//     static const MessageMap map{CDialog::GetMessageMap(), entries};
//     return &map;
//   }
//
// framework/MessageArgs.h lists the messages with typed rows and their handlers'
// signatures. A handler returning bool says whether it handled the message: false lets
// the later rows, the base class's rows and then default processing have it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstring>
#include <tuple>
#include <type_traits>

#include "framework/MessageArgs.h"
#include "framework/RowTable.h"
#include "framework/VariantArgs.h"

class CWnd;

// A row's member function, kept as its bytes: rows of every signature fit one table, and
// only the row's own thunk, made with the member's real type, reads it back.
struct MessageHandler {
  alignas(void*) unsigned char bytes[2 * sizeof(void*)];
};
// Calls a row's handler with its message's arguments; false when the handler declined.
using MessageThunk = bool (*)(CWnd* target, const MessageHandler& handler, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);
constexpr UINT kAnyCode = 0xFFFFFFFF;

struct MessageEntry {
  UINT message;
  UINT id;    // control id for WM_COMMAND and WM_NOTIFY rows, else kAnyCode
  UINT code;  // notification code for WM_COMMAND and WM_NOTIFY rows, else kAnyCode
  MessageHandler handler;
  MessageThunk thunk;
};

using MessageMap = RowTable<MessageEntry>;

namespace msgrow {
template <class R> LRESULT ToResult(R value) {
  if constexpr (std::is_pointer_v<R>) return reinterpret_cast<LRESULT>(value);
  else return static_cast<LRESULT>(value);
}

// Runs a handler and reads what it returned as the row's outcome.
template <bool kAnswers, class Call> bool Finish(Call call, LRESULT* result) {
  using R = decltype(call());
  static_assert(!(kAnswers && std::is_same_v<R, bool>),
                "this message's answer is a value: return it (a bool would read as handled or not)");
  *result = 0;
  if constexpr (std::is_void_v<R>) {
    call();
    return true;
  } else if constexpr (std::is_same_v<R, bool>) {
    return call();
  } else {
    *result = ToResult(call());
    return true;
  }
}

// A handler takes its message's unpacked arguments, or none.
template <class M> MessageHandler Keep(M member) {
  static_assert(sizeof(M) <= sizeof(MessageHandler) && std::is_trivially_copyable_v<M>);
  MessageHandler kept{};
  std::memcpy(kept.bytes, &member, sizeof member);
  return kept;
}

template <class T, class M, class Unpack>
bool Thunk(CWnd* target, const MessageHandler& kept, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  T* self = static_cast<T*>(target);
  M member;
  std::memcpy(&member, kept.bytes, sizeof member);
  return Finish<Unpack::kAnswers>(
      [&]() -> decltype(auto) {
        if constexpr (std::is_invocable_v<M, T*>) {
          return (self->*member)();
        } else {
          auto call = [&](auto... args) -> decltype(auto) { return (self->*member)(args...); };
          return std::apply(call, Unpack::Unpack(wParam, lParam));
        }
      },
      result);
}

template <class T, class M, class Unpack> MessageEntry Row(UINT message, UINT id, UINT code, M member) {
  return {message, id, code, Keep(member), &Thunk<T, M, Unpack>};
}

struct Raw : msgargs::Answers {
  static std::tuple<WPARAM, LPARAM> Unpack(WPARAM wParam, LPARAM lParam) { return {wParam, lParam}; }
};
struct Command : msgargs::Plain {
  static std::tuple<> Unpack(WPARAM, LPARAM) { return {}; }
};
template <class N> struct Notify : msgargs::Answers {
  static std::tuple<N*> Unpack(WPARAM, LPARAM lParam) { return {reinterpret_cast<N*>(lParam)}; }
};
}  // namespace msgrow

// Any message, the handler unpacking it: `LRESULT F(WPARAM, LPARAM)`.
template <class T> MessageEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return msgrow::Row<T, decltype(handler), msgrow::Raw>(message, kAnyCode, kAnyCode, handler);
}
// A message of framework/MessageArgs.h, the row unpacking it: `OnMessage<WM_TIMER>(&C::OnTimer)`.
template <UINT Message, class T, class R, class... A> MessageEntry OnMessage(R (T::*handler)(A...)) {
  return msgrow::Row<T, decltype(handler), msgargs::Args<Message>>(Message, kAnyCode, kAnyCode, handler);
}
// WM_COMMAND from control or menu item `id` with notification `code` (without one: a
// click). The handler takes nothing: `void F()`, or `bool F()` to say whether it handled it.
template <class T, class R> MessageEntry OnCommand(UINT id, UINT code, R (T::*handler)()) {
  return msgrow::Row<T, decltype(handler), msgrow::Command>(WM_COMMAND, id, code, handler);
}
template <class T, class R> MessageEntry OnCommand(UINT id, R (T::*handler)()) { return OnCommand(id, 0, handler); }
// WM_NOTIFY from control `id` with notification `code`: `LRESULT F(NMHDR*)`, or a pointer to
// the notification's own structure (one that starts with its NMHDR), or nothing.
template <class T, class R, class N> MessageEntry OnNotify(UINT id, UINT code, R (T::*handler)(N*)) {
  return msgrow::Row<T, decltype(handler), msgrow::Notify<N>>(WM_NOTIFY, id, code, handler);
}
template <class T, class R> MessageEntry OnNotify(UINT id, UINT code, R (T::*handler)()) {
  return msgrow::Row<T, decltype(handler), msgrow::Notify<NMHDR>>(WM_NOTIFY, id, code, handler);
}

// Event sink maps: a hosted control's event (control id, DISPID) to a member function whose
// parameters are the event's, in order. The row converts the event's arguments to them.
using EventThunk = HRESULT (*)(CWnd* target, DISPPARAMS* params);

struct EventSinkEntry {
  UINT controlId;
  DISPID dispid;
  EventThunk thunk;
};

using EventSinkMap = RowTable<EventSinkEntry>;

namespace eventsink {
template <auto F> HRESULT Thunk(CWnd* target, DISPPARAMS* params) {
  using Class = typename varargs::Member<decltype(F)>::Class;
  return varargs::Call<F>(static_cast<Class*>(target), params, nullptr);
}
}  // namespace eventsink

// One row of an event sink map: `OnEvent<&CMainBarDlg::OnProgress>(1021, 7)`.
template <auto F> EventSinkEntry OnEvent(UINT controlId, DISPID dispid) {
  return {controlId, dispid, &eventsink::Thunk<F>};
}
