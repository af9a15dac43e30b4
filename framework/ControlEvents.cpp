#include "framework/ControlEvents.h"

#include <vector>

UINT GetDispatchMessageId() {
  static const UINT id = RegisterWindowMessageA("Tidybar.Control.GetDispatch");
  return id;
}

UINT ControlEventMessageId() {
  static const UINT id = RegisterWindowMessageA("Tidybar.Control.Event");
  return id;
}

HRESULT RaiseControlEvent(HWND control, DISPID dispid, VARIANT* argsFirstToLast, UINT count) {
  HWND parent = GetParent(control);
  if (!parent) return E_FAIL;
  std::vector<VARIANT> reversed(argsFirstToLast, argsFirstToLast + count);
  std::vector<VARIANT>(reversed.rbegin(), reversed.rend()).swap(reversed);  // COM order: last first
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, count, 0};
  ControlEvent event{dispid, &params};
  return static_cast<HRESULT>(SendMessageA(parent, ControlEventMessageId(), reinterpret_cast<WPARAM>(control),
                                           reinterpret_cast<LPARAM>(&event)));
}
