// CWinApp: the one application object. Its InitInstance runs the program; when it returns
// FALSE the program ends without a message loop of its own.
#pragma once

#include "framework/CString.h"
#include "framework/Wnd.h"

class CWinApp {
 public:
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return 0; }

  void SetRegistryKey(const char* key) { m_registryKey = key; }

  CWnd* m_pMainWnd = nullptr;
  CString m_pszAppName;
  CString m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's name: its own, else the executable's file name without extension.
CString AfxGetAppName();

// Initialises OLE for the thread and undoes it at exit. Returns FALSE on failure.
BOOL AfxOleInit();
// Loads the rich edit 2.0 control's library so "RichEdit20A" windows can be created.
BOOL AfxInitRichEdit2();

// The program's entry: runs the application object's InitInstance (and Run if it asks).
int AfxWinMain();
