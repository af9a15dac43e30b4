// The file view control's contract with its containers: the window class that names it in
// templates (its CLSID in braces), and the DISPIDs of its method and events (the events'
// parameters are in FileViewEvents.h).
#pragma once

#define CLSID_CLASS_FILE_VIEW "{419A61EE-8221-444A-8D3E-7F4FA4D402E4}"

#ifndef RC_INVOKED
#include "framework/Clsid.h"

namespace fileviewcontract {
constexpr CLSID kClsid = ClsidFromText(CLSID_CLASS_FILE_VIEW);
enum MethodId : DISPID { kGoBack = 43 };
enum EventId : DISPID { kFolderShown = 1, kItemOpened = 10, kDragOver = 22, kBeforeTransfer = 24, kDrop = 25 };
}  // namespace fileviewcontract
#endif
