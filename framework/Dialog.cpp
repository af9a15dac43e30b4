#include "framework/Dialog.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"

namespace {
// Messages whose answer the dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

// The message being handed to the dialog manager's default processing: when the dialog
// procedure sees it again from inside DefDlgProc, it declines it once.
thread_local UINT t_defaulting = 0;
thread_local HWND t_defaultingWindow = nullptr;
}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  HWND window = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
  if (control.m_hWnd == window && window) return;
  // A wrapper bound by handle alone still holds the control of a window made before this
  // one (the dialog was created again): it takes the new control.
  if (control.m_hWnd && !::IsWindow(control.m_hWnd)) control.m_hWnd = nullptr;
  if (control.m_hWnd) return;
  // A hosted control is its own object already: its wrapper only needs the handle.
  if (CWnd::FromHandlePermanent(window)) control.m_hWnd = window;
  else control.SubclassWindow(window);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

// The rows call the virtual functions, so a class's own OnInitDialog, OnOK and OnCancel run.
const MessageMap* CDialog::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_INITDIALOG>(&CDialog::OnInitDialog),
      OnCommand(IDOK, &CDialog::OnOK),
      OnCommand(IDCANCEL, &CDialog::OnCancel),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

HWND CDialog::OwnerWindow() const {
  if (m_pParentWnd) return m_pParentWnd->m_hWnd;
  CWnd* main = AfxGetMainWnd();
  return main && main != this ? main->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal() {
  m_modal = true;
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), OwnerWindow(),
                                   &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  m_modal = false;
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_templateId = templateId;
  if (parent) m_pParentWnd = parent;
  m_modal = false;
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), OwnerWindow(),
                                   &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
  if (!m_hWnd) return;
  if (m_modal) ::EndDialog(m_hWnd, result);
  else ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  UINT savedMessage = t_defaulting;
  HWND savedWindow = t_defaultingWindow;
  t_defaulting = message;
  t_defaultingWindow = m_hWnd;
  LRESULT result = DefDlgProcA(m_hWnd, message, wParam, lParam);
  t_defaulting = savedMessage;
  t_defaultingWindow = savedWindow;
  return result;
}

void CDialog::EraseWithDialogBrush(HDC dc) { DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); }

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == t_defaulting && window == t_defaultingWindow) {
    t_defaulting = 0;
    t_defaultingWindow = nullptr;
    return FALSE;
  }
  auto* self = static_cast<CDialog*>(FromHandlePermanent(window));
  if (!self && message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    self->Attach(window);
  }
  if (!self) return FALSE;

  CurrentMessage saved = self->m_current;
  self->m_current = {message, wParam, lParam};
  LRESULT result = 0;
  bool handled = false;
  if (!AfxGuard([&] { handled = self->Dispatch(message, wParam, lParam, result); })) handled = true, result = 0;
  self->m_current = saved;

  if (message == WM_NCDESTROY) {
    self->Detach();
    self->PostNcDestroy();
    return FALSE;
  }
  if (!handled) return FALSE;
  if (AnswersDirectly(message)) return result;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}
