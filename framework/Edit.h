// CEdit: an edit control of a dialog, bound by data exchange.
#pragma once

#include "framework/Wnd.h"

class CEdit : public CWnd {
 public:
  void SetLimitText(UINT limit) const { SendMessage(EM_SETLIMITTEXT, limit); }
  void SetSel(int start, int end) const { SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end)); }
};
