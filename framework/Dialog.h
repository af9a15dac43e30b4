// CDialog: a window made from a dialog template in the program's resources, modal or
// modeless. A dialog given no parent is owned by the application's main window. Ending a
// modeless dialog hides it; its owner decides when it is destroyed, unless the dialog goes
// with its window (GoWithWindow).
#pragma once

#include <functional>

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
  // For a modeless dialog made with new: ending it destroys the window, once the message
  // that ended it is done (its controls may still be at work on it), and the object frees
  // itself with the window. `*slot` is cleared then if it still holds this dialog.
  template <class T> void GoWithWindow(T** slot) {
    T* self = static_cast<T*>(this);
    m_forgetSlot = [slot, self] {
      if (slot && *slot == self) *slot = nullptr;
    };
    m_goesWithWindow = true;
  }
  UINT GetTemplateId() const { return m_templateId; }

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  const MessageMap* GetMessageMap() const override;

 protected:
  // Paints the dialog's ordinary background, as the dialog manager does on erase.
  void EraseWithDialogBrush(HDC dc);
  HWND OwnerWindow() const;
  void PostNcDestroy() override;

  UINT m_templateId;
  CWnd* m_pParentWnd;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnDestroyEnded(WPARAM, LPARAM);
  bool m_modal = false;
  bool m_goesWithWindow = false;
  std::function<void()> m_forgetSlot;
};
