// Calling a member function with the arguments of a late-bound call or an event: each
// VARIANT is converted to the parameter's type, and the result back into a VARIANT.
// Event sink maps and the hosted controls' method tables are built on it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstring>
#include <tuple>
#include <utility>

#include "framework/CString.h"
#include "framework/Variant.h"

namespace varargs {

// How one parameter type is taken from an argument.
template <class A> struct Arg;

// Scalars are converted to the parameter's type as COM converts variants.
template <class T, VARTYPE VT> struct Converted {
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
template <> struct Arg<bool> {
  static bool From(VARIANT& in, bool& out) {
    short value = 0;
    if (!Converted<short, VT_BOOL>::From(in, value)) return false;
    out = value != 0;
    return true;
  }
};
template <> struct Arg<CString> {
  static bool From(VARIANT& in, CString& out) {
    if (in.vt != VT_BSTR && in.vt != (VT_BSTR | VT_BYREF)) return false;
    out = TextFromBstr(in.vt == VT_BSTR ? in.bstrVal : *in.pbstrVal);
    return true;
  }
};
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

// How a result is handed back.
inline void Store(VARIANT* out, short value) { out->vt = VT_I2, out->iVal = value; }
inline void Store(VARIANT* out, long value) { out->vt = VT_I4, out->lVal = value; }
inline void Store(VARIANT* out, int value) { out->vt = VT_I4, out->lVal = value; }
inline void Store(VARIANT* out, bool value) { out->vt = VT_BOOL, out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
inline void Store(VARIANT* out, const CString& value) { out->vt = VT_BSTR, out->bstrVal = BstrFromText(value); }

template <class F> struct Member;
template <class C, class R, class... A> struct Member<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<std::decay_t<A>...>;
};

template <auto F, class Tuple, size_t... I>
HRESULT CallWith(typename Member<decltype(F)>::Class* target, DISPPARAMS* params, VARIANT* result,
                 std::index_sequence<I...>) {
  constexpr size_t n = sizeof...(I);
  if ((params ? params->cArgs : 0) != n) return DISP_E_BADPARAMCOUNT;
  if (params && params->cNamedArgs != 0 &&
      !(params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT))
    return DISP_E_NONAMEDARGS;
  Tuple args{};
  // Arguments arrive last first.
  bool ok = (Arg<std::tuple_element_t<I, Tuple>>::From(params->rgvarg[n - 1 - I], std::get<I>(args)) && ... && true);
  if (!ok) return DISP_E_TYPEMISMATCH;
  using R = typename Member<decltype(F)>::Result;
  if constexpr (std::is_void_v<R>) {
    (target->*F)(std::get<I>(args)...);
  } else {
    R value = (target->*F)(std::get<I>(args)...);
    if (result) Store(result, value);
  }
  return S_OK;
}

// Calls F on `target` with the call's arguments; the result (if any) goes to *result.
template <auto F> HRESULT Call(typename Member<decltype(F)>::Class* target, DISPPARAMS* params, VARIANT* result) {
  using Args = typename Member<decltype(F)>::Args;
  return CallWith<F, Args>(target, params, result, std::make_index_sequence<std::tuple_size_v<Args>>());
}

}  // namespace varargs
