// CTidybarApp: prepares OLE, the common controls and the rich edit control, creates the
// bar's invisible owner and runs the bar modally. The bar's modal loop is the program's
// only message loop.
#pragma once

#include "framework/WinApp.h"

class CTidybarApp : public CWinApp {
 public:
  BOOL InitInstance() override;

  CWnd m_ownerWnd;  // invisible owner of the bar, so the bar has no taskbar button
};
