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

#include "framework/VariantArgs.h"

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
template <auto F>
HRESULT Thunk(CWnd* target, DISPPARAMS* params) {
  using Class = typename varargs::Member<decltype(F)>::Class;
  return varargs::Call<F>(static_cast<Class*>(target), params, nullptr);
}
}  // namespace eventsink

// One row of an event sink map: `OnEvent<&CMainBarDlg::OnProgress>(1021, 7)`.
template <auto F>
EventSinkEntry OnEvent(UINT controlId, DISPID dispid) {
  return {controlId, dispid, &eventsink::Thunk<F>};
}
