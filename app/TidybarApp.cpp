#include "app/TidybarApp.h"

#include <commctrl.h>

#include "app/MainBarDlg.h"
#include "app/RunningMark.h"
#include "framework/Trace.h"
#include "ocx/HostedControls.h"

BOOL CTidybarApp::InitInstance() {
  trace::StartupStep("application object runs");
  TRACE_IF_FALSE(AfxOleInit());
  InitCommonControls();
  CWinApp::InitInstance();
  AfxInitRichEdit2();
  RegisterHostedControls();
  trace::StartupStep("OLE, common controls, rich edit and hosted controls ready");
  SetRegistryKey("Local AppWizard-Generated Applications");

  if (!m_ownerWnd.m_hWnd) {
    m_ownerWnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr);
  }
  CMainBarDlg bar(m_ownerWnd.m_hWnd ? &m_ownerWnd : nullptr);
  RunningMark running(bar);  // setup and the uninstaller find and close running bars by it
  m_pMainWnd = &bar;
  bar.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
