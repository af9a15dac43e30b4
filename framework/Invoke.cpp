// Late-bound calls from a container into a hosted control.
#include <vector>

#include "framework/ControlEvents.h"
#include "framework/Exceptions.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

namespace {
ComPtr<IDispatch> ControlDispatch(HWND window) {
  auto* dispatch = reinterpret_cast<IDispatch*>(window ? ::SendMessageA(window, GetDispatchMessageId(), 0, 0) : 0);
  return ComPtr<IDispatch>(dispatch, false);
}

void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
  if (vtRet == VT_EMPTY || !pvRet) return;
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, &result, 0, vtRet);
  if (FAILED(hr)) throw COleDispatchException(hr, "A control returned a value of the wrong type.");
  switch (vtRet) {
    case VT_I2:
      *static_cast<short*>(pvRet) = converted.iVal;
      break;
    case VT_I4:
      *static_cast<long*>(pvRet) = converted.lVal;
      break;
    case VT_BOOL:
      *static_cast<BOOL*>(pvRet) = converted.boolVal != VARIANT_FALSE;
      break;
    case VT_BSTR:
      *static_cast<CString*>(pvRet) = TextFromBstr(converted.bstrVal);
      break;
    default:
      VariantClear(&converted);
      throw CInvalidArgException();
  }
  VariantClear(&converted);
}
}  // namespace

void CWnd::InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet,
                        std::initializer_list<CVariant> args) const {
  ComPtr<IDispatch> dispatch = ControlDispatch(m_hWnd);
  if (!dispatch) throw COleDispatchException(E_NOINTERFACE, "The control is not available.");
  std::vector<VARIANT> reversed;  // COM passes the last argument first
  for (auto it = std::rbegin(args); it != std::rend(args); ++it) reversed.push_back(it->Get());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO info{};
  UINT badArg = 0;
  HRESULT hr = dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &info, &badArg);
  if (FAILED(hr)) {
    CString description = info.bstrDescription ? TextFromBstr(info.bstrDescription) : CString();
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    VariantClear(&result);
    throw COleDispatchException(hr, description);
  }
  try {
    StoreResult(result, vtRet, pvRet);
  } catch (...) {
    VariantClear(&result);
    throw;
  }
  VariantClear(&result);
}
