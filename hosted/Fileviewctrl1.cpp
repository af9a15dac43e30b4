#include "hosted/Fileviewctrl1.h"

#include "hosted/ControlWindow.h"
#include "res/resource.h"

CLSID CFileviewctrl1::GetClsid() { return {0x419A61EE, 0x8221, 0x444A, {0x8D, 0x3E, 0x7F, 0x4F, 0xA4, 0xD4, 0x02, 0xE4}}; }

BOOL CFileviewctrl1::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControlWindow(*this, CLSID_CLASS_FILE_VIEW, windowName, style, rect, parent, id);
}

void CFileviewctrl1::GoBack() { InvokeHelper(43, DISPATCH_METHOD, VT_EMPTY, nullptr); }
