#include "hosted/Playlistctrl1.h"

#include "hosted/ControlWindow.h"
#include "ocx/playlist/PlaylistContract.h"

using namespace playlistcontract;

namespace {
CVariant Part(short value) { return CVariant::I2(value); }
}  // namespace

CLSID CPlaylistctrl1::GetClsid() { return playlistcontract::kClsid; }

BOOL CPlaylistctrl1::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControlWindow(*this, CLSID_CLASS_PLAYLIST, windowName, style, rect, parent, id);
}

short CPlaylistctrl1::AddFolderFiles(const char* extension, const char* folder) {
  short added = 0;
  InvokeHelper(kAddFolderFiles, DISPATCH_METHOD, VT_I2, &added, {CVariant::Text(extension), CVariant::Text(folder)});
  return added;
}

void CPlaylistctrl1::SetBackColorRgb(short red, short green, short blue) {
  InvokeHelper(kSetBackColorRgb, DISPATCH_METHOD, VT_EMPTY, nullptr, {Part(red), Part(green), Part(blue)});
}

void CPlaylistctrl1::SetForeColorRgb(short red, short green, short blue) {
  InvokeHelper(kSetForeColorRgb, DISPATCH_METHOD, VT_EMPTY, nullptr, {Part(red), Part(green), Part(blue)});
}

void CPlaylistctrl1::SetBackColorRgb2(short red, short green, short blue) {
  InvokeHelper(kSetBackColorRgb2, DISPATCH_METHOD, VT_EMPTY, nullptr, {Part(red), Part(green), Part(blue)});
}

void CPlaylistctrl1::ClearList() { InvokeHelper(kClearList, DISPATCH_METHOD, VT_EMPTY, nullptr); }

BOOL CPlaylistctrl1::SaveList(const char* path) {
  BOOL saved = FALSE;
  InvokeHelper(kSaveList, DISPATCH_METHOD, VT_BOOL, &saved, {CVariant::Text(path)});
  return saved;
}

BOOL CPlaylistctrl1::LoadList(const char* path) {
  BOOL loaded = FALSE;
  InvokeHelper(kLoadList, DISPATCH_METHOD, VT_BOOL, &loaded, {CVariant::Text(path)});
  return loaded;
}
