#include "hosted/Mp3pctrl1.h"

#include "hosted/ControlWindow.h"
#include "res/resource.h"

CLSID CMp3pctrl1::GetClsid() { return {0x707A5994, 0x8950, 0x11D2, {0x9E, 0x58, 0x00, 0xA0, 0x24, 0xA8, 0x85, 0x9A}}; }

BOOL CMp3pctrl1::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControlWindow(*this, CLSID_CLASS_MP3, windowName, style, rect, parent, id);
}

void CMp3pctrl1::Play() { InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Pause() { InvokeHelper(4, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Stop() { InvokeHelper(5, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Seek(long position, long length) {
  InvokeHelper(6, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(position), CVariant::I4(length)});
}

void CMp3pctrl1::OpenFile(const char* path) {
  InvokeHelper(7, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::Text(path)});
}

void CMp3pctrl1::SetVolume(short first, short second, short volume) {
  InvokeHelper(13, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I2(first), CVariant::I2(second), CVariant::I2(volume)});
}

long CMp3pctrl1::GetLength() {
  long length = 0;
  InvokeHelper(53, DISPATCH_METHOD, VT_I4, &length);
  return length;
}

CString CMp3pctrl1::GetProgressText(long which) {
  CString text;
  InvokeHelper(61, DISPATCH_METHOD, VT_BSTR, &text, {CVariant::I4(which)});
  return text;
}

long CMp3pctrl1::GetState() {
  long state = 0;
  InvokeHelper(62, DISPATCH_METHOD, VT_I4, &state);
  return state;
}
