// The caption button's contract with its containers: the window class that names it in
// templates (its CLSID in braces). It has no methods; its one event is the stock Click.
#pragma once

#define CLSID_CLASS_CAPTION_BUTTON "{40B5CE81-C5A8-11D2-8183-00002440DFD8}"

#ifndef RC_INVOKED
#include <olectl.h>

#include "framework/Clsid.h"

namespace captioncontract {
constexpr CLSID kClsid = ClsidFromText(CLSID_CLASS_CAPTION_BUTTON);
enum EventId : DISPID { kClick = DISPID_CLICK };
}  // namespace captioncontract
#endif
