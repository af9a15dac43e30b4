#include "ocx/HostedControl.h"

#include <cstdlib>
#include <map>

#include "framework/Exceptions.h"

namespace {
std::map<std::string, CHostedControl* (*)()>& Factories() {
  static std::map<std::string, CHostedControl* (*)()> factories;
  return factories;
}

std::string Trimmed(std::string text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ClassNameOf(HWND window) {
  char name[128] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}
}  // namespace

bool CHostedControl::RegisterWithFactory(const char* className, HCURSOR cursor, Factory factory) {
  Factories()[className] = factory;
  // A class of the same name made by someone else would keep its own window procedure.
  WNDCLASSA existing{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing) &&
      existing.lpfnWndProc != &CHostedControl::ControlWindowProc)
    UnregisterClassA(className, GetModuleHandleA(nullptr));
  WNDCLASSA wc{};
  // A device context of its own is kept between paints: one made for each paint has its
  // font chosen anew, which under X re-reads the user's resources, every second for a meter.
  wc.style = CS_DBLCLKS | CS_OWNDC;
  wc.lpfnWndProc = &CHostedControl::ControlWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor;
  wc.lpszClassName = className;
  return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Creates the control object with its window; from then on the object's own procedure runs.
LRESULT CALLBACK CHostedControl::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE && !FromHandlePermanent(window)) {
    auto factory = Factories().find(ClassNameOf(window));
    CHostedControl* control = factory == Factories().end() ? nullptr : factory->second();
    if (!control) return FALSE;
    control->Attach(window);
    control->ReadCreationData(reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  CWnd* object = FromHandlePermanent(window);
  if (!object) return ::DefWindowProcA(window, message, wParam, lParam);
  return static_cast<CHostedControl*>(object)->RouteMessage(message, wParam, lParam);
}

// A dialog passes a control's creation data as a size word followed by the bytes; ours is
// wide text, which keeps the template's control records word-aligned whatever its length.
void CHostedControl::ReadCreationData(const CREATESTRUCTA* create) {
  if (!create || !create->lpCreateParams) return;
  const auto* data = static_cast<const WORD*>(create->lpCreateParams);
  int chars = data[0] / 2;
  if (chars <= 0 || chars > 0x2000) return;
  const auto* wide = reinterpret_cast<const wchar_t*>(data + 1);
  int length = WideCharToMultiByte(CP_ACP, 0, wide, chars, nullptr, 0, nullptr, nullptr);
  std::string text(size_t(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, wide, chars, &text[0], length, nullptr, nullptr);
  ParseStoredState(text.data(), text.size());
}

void CHostedControl::ParseStoredState(const char* text, size_t length) {
  std::string all(text, strnlen(text, length));
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(';', start);
    if (end == std::string::npos) end = all.size();
    std::string pair = all.substr(start, end - start);
    size_t equals = pair.find('=');
    if (equals != std::string::npos) m_stored[Trimmed(pair.substr(0, equals))] = Trimmed(pair.substr(equals + 1));
    start = end + 1;
  }
}

CString CHostedControl::StoredValue(const char* key, const char* fallback) const {
  auto found = m_stored.find(key);
  return found == m_stored.end() ? CString(fallback) : CString(found->second.c_str());
}

int CHostedControl::StoredInt(const char* key, int fallback) const {
  CString text = StoredValue(key);
  char* end = nullptr;
  long value = std::strtol(text, &end, 0);
  return text.IsEmpty() || *end ? fallback : int(value);
}

double CHostedControl::StoredDouble(const char* key, double fallback) const {
  CString text = StoredValue(key);
  char* end = nullptr;
  double value = std::strtod(text, &end);
  return text.IsEmpty() || *end ? fallback : value;
}

COLORREF CHostedControl::StoredColour(const char* key, COLORREF fallback) const {
  CString text = StoredValue(key);
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 0);
  return text.IsEmpty() || *end || value > 0xFFFFFF ? fallback : COLORREF(value);
}

HRESULT CHostedControl::FireEvent(DISPID dispid, std::initializer_list<CVariant> args) {
  std::vector<VARIANT> values;
  for (const CVariant& arg : args) values.push_back(arg.Get());
  return RaiseControlEvent(m_hWnd, dispid, values.empty() ? nullptr : values.data(), UINT(values.size()));
}

const MethodMap& CHostedControl::GetMethodMap() const {
  static const MethodMap none;
  return none;
}

LRESULT CHostedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == GetDispatchMessageId()) {
    AddRef();
    return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(this));
  }
  if (message == WM_CREATE) OnCreateControl();
  return CWnd::WindowProc(message, wParam, lParam);
}

void CHostedControl::PostNcDestroy() { Release(); }

HRESULT CHostedControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CHostedControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT CHostedControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// Methods run by DISPID; an error escaping a method becomes an exception for the caller.
HRESULT CHostedControl::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* info, UINT* badArg) {
  if (badArg) *badArg = 0;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (result) VariantInit(result);
  const MethodMap& map = GetMethodMap();
  for (size_t i = 0; i < map.count; ++i) {
    if (map.entries[i].dispid != dispid) continue;
    AddRef();  // the method may destroy the window
    HRESULT hr = E_FAIL;
    CString error;
    try {
      hr = map.entries[i].thunk(this, params, result);
    } catch (const CException& e) {
      error = e.GetErrorMessage();
    } catch (const std::exception& e) {
      error = e.what();
    }
    Release();
    if (error.IsEmpty()) return hr;
    if (info) {
      *info = EXCEPINFO{};
      info->scode = E_FAIL;
      info->bstrDescription = BstrFromText(error);
    }
    return DISP_E_EXCEPTION;
  }
  return DISP_E_MEMBERNOTFOUND;
}
