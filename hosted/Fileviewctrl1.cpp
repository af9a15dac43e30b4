#include "hosted/Fileviewctrl1.h"

#include "hosted/ControlWindow.h"
#include "ocx/fileview/FileViewContract.h"

CLSID CFileviewctrl1::GetClsid() { return fileviewcontract::kClsid; }

BOOL CFileviewctrl1::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControlWindow(*this, CLSID_CLASS_FILE_VIEW, windowName, style, rect, parent, id);
}

void CFileviewctrl1::GoBack() { InvokeHelper(fileviewcontract::kGoBack, DISPATCH_METHOD, VT_EMPTY, nullptr); }
