// CButton: a button, check box or radio button of a dialog, bound by data exchange.
#pragma once

#include "framework/Wnd.h"

class CButton : public CWnd {
 public:
  int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) const { SendMessage(BM_SETCHECK, WPARAM(check)); }
};
