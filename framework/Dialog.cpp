#include "framework/Dialog.h"

#include "framework/PrivateMessages.h"
#include "framework/WinApp.h"

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
      OnMessage(kDestroyEndedMessage, &CDialog::OnDestroyEnded),
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
  if (m_modal) {
    ::EndDialog(m_hWnd, result);
    return;
  }
  ::ShowWindow(m_hWnd, SW_HIDE);
  if (m_goesWithWindow) PostMessage(kDestroyEndedMessage);
}

LRESULT CDialog::OnDestroyEnded(WPARAM, LPARAM) {
  if (m_goesWithWindow && !IsWindowVisible()) DestroyWindow();
  return 0;
}

void CDialog::PostNcDestroy() {
  if (!m_goesWithWindow) return;
  if (m_forgetSlot) m_forgetSlot();
  delete this;
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

void CDialog::EraseWithDialogBrush(HDC dc) { DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); }

// The dialog's messages reach the object as any subclassed window's do: the dialog
// procedure only binds the object at WM_INITDIALOG, and declines everything else, so
// the dialog manager's own processing is what is left when no row handles a message.
INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG || FromHandlePermanent(window)) return FALSE;
  auto* self = reinterpret_cast<CDialog*>(lParam);
  if (!self) return FALSE;
  self->Attach(window);
  if (!self->StartSubclass(window)) {
    self->Detach();
    return FALSE;
  }
  return self->RouteMessage(message, wParam, lParam);
}
