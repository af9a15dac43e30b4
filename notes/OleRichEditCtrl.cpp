#include "notes/OleRichEditCtrl.h"

#include <richedit.h>

#include "framework/File.h"
#include "notes/RichEditCallback.h"

namespace {
// Hands the control the next piece of the document.
DWORD CALLBACK ReadFromMemFile(DWORD_PTR cookie, BYTE* buffer, LONG wanted, LONG* got) {
  auto* file = reinterpret_cast<CMemFile*>(cookie);
  *got = LONG(file->Read(buffer, UINT(wanted)));
  return 0;
}
}  // namespace

const MessageMap* COleRichEditCtrl::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnMessage<WM_CREATE>(&COleRichEditCtrl::OnCreate),
      OnMessage<WM_GETDLGCODE>(&COleRichEditCtrl::OnGetDlgCode),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

// The control takes its own reference on the callback; it releases it when it goes.
void COleRichEditCtrl::InstallCallback() {
  m_callback = new CRichEditCallback;
  m_callbackResult = SendMessage(EM_SETOLECALLBACK, 0, reinterpret_cast<LPARAM>(m_callback));
  if (!m_callbackResult) {
    delete m_callback;  // not taken: nobody else holds it
    m_callback = nullptr;
  }
}

void COleRichEditCtrl::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  InstallCallback();
}

LRESULT COleRichEditCtrl::OnCreate() {
  if (Default() == -1) return -1;
  if (!m_callbackResult) InstallCallback();
  return 0;
}

// A document is read from its top: taking the focus must not select all of it, as the
// dialog manager does for edit fields.
LRESULT COleRichEditCtrl::OnGetDlgCode() { return Default() & ~LRESULT(DLGC_HASSETSEL); }

LRESULT COleRichEditCtrl::StreamInResource(UINT id, const char* type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return 0;
  DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return 0;
  CMemFile file(static_cast<const BYTE*>(bytes), UINT(size));
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&file);
  stream.pfnCallback = &ReadFromMemFile;
  return SendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}
