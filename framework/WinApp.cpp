#include "framework/WinApp.h"

#include <objbase.h>
#include <ole2.h>

namespace {
CWinApp* g_app = nullptr;

struct OleSession {
  bool active = false;
  ~OleSession() {
    if (active) OleUninitialize();
  }
};
}  // namespace

CWinApp::CWinApp(const char* appName) {
  if (appName) m_pszAppName = appName;
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

CString AfxGetAppName() {
  if (g_app && !g_app->m_pszAppName.IsEmpty()) return g_app->m_pszAppName;
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  CString name(path);
  name = name.Mid(name.ReverseFind('\\') + 1);
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : name;
}

BOOL AfxOleInit() {
  static OleSession session;
  if (session.active) return TRUE;
  session.active = SUCCEEDED(OleInitialize(nullptr));
  return session.active;
}

BOOL AfxInitRichEdit2() {
  static HMODULE library = LoadLibraryA("riched20.dll");  // stays loaded for the process
  return library != nullptr;
}

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  if (app->m_pszAppName.IsEmpty()) app->m_pszAppName = AfxGetAppName();
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
