// The playlist control's contract with its containers: the window class that names it in
// templates (its CLSID in braces), and the DISPIDs of its methods. It raises no events.
#pragma once

#define CLSID_CLASS_PLAYLIST "{21181707-9DD8-11D3-B0C4-0050043A2F5B}"

#ifndef RC_INVOKED
#include "framework/Clsid.h"

namespace playlistcontract {
constexpr CLSID kClsid = ClsidFromText(CLSID_CLASS_PLAYLIST);
enum MethodId : DISPID {
  kAddFolderFiles = 1,
  kSetBackColorRgb = 5,
  kSetForeColorRgb = 6,
  kSetBackColorRgb2 = 7,
  kClearList = 8,
  kSaveList = 15,
  kLoadList = 16,
};
}  // namespace playlistcontract
#endif
