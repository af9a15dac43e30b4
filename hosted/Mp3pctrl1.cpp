#include "hosted/Mp3pctrl1.h"

#include "hosted/ControlWindow.h"
#include "ocx/mp3/Mp3Contract.h"

using namespace mp3contract;

CLSID CMp3pctrl1::GetClsid() { return mp3contract::kClsid; }

BOOL CMp3pctrl1::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControlWindow(*this, CLSID_CLASS_MP3, windowName, style, rect, parent, id);
}

void CMp3pctrl1::Play() { InvokeHelper(kPlay, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Pause() { InvokeHelper(kPause, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Stop() { InvokeHelper(kStop, DISPATCH_METHOD, VT_EMPTY, nullptr); }

void CMp3pctrl1::Seek(long position, long length) {
  InvokeHelper(kSeek, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::I4(position), CVariant::I4(length)});
}

void CMp3pctrl1::OpenFile(const char* path) {
  InvokeHelper(kOpenFile, DISPATCH_METHOD, VT_EMPTY, nullptr, {CVariant::Text(path)});
}

void CMp3pctrl1::SetVolume(short first, short second, short volume) {
  InvokeHelper(kSetVolume, DISPATCH_METHOD, VT_EMPTY, nullptr,
               {CVariant::I2(first), CVariant::I2(second), CVariant::I2(volume)});
}

long CMp3pctrl1::GetLength() {
  long length = 0;
  InvokeHelper(kGetLength, DISPATCH_METHOD, VT_I4, &length);
  return length;
}

CString CMp3pctrl1::GetProgressText(long which) {
  CString text;
  InvokeHelper(kGetProgressText, DISPATCH_METHOD, VT_BSTR, &text, {CVariant::I4(which)});
  return text;
}

long CMp3pctrl1::GetState() {
  long state = 0;
  InvokeHelper(kGetState, DISPATCH_METHOD, VT_I4, &state);
  return state;
}
