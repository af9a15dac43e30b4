// CDialog: a window made from a dialog template in the program's resources, modal or
// modeless. A dialog given no parent is owned by the application's main window. Ending a
// modeless dialog hides it; its owner decides when it is destroyed.
#pragma once

#include "framework/Wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds control `id` of the dialog to `control` the first time only: subclassing it, or,
// for a control that is an object of ours already (a hosted control), by handle alone.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, CWnd* parent = nullptr);

  // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not run.
  virtual INT_PTR DoModal();
  // Creates the dialog modeless (visible only if the template says so).
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(INT_PTR result);
  BOOL IsModal() const { return m_modal; }
  UINT GetTemplateId() const { return m_templateId; }

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  const MessageMap* GetMessageMap() const override;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Paints the dialog's ordinary background, as the dialog manager does on erase.
  void EraseWithDialogBrush(HDC dc);
  HWND OwnerWindow() const;

  UINT m_templateId;
  CWnd* m_pParentWnd;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool m_modal = false;
};
