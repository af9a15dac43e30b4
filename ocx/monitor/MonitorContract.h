// The monitor control's contract with its containers: the window class that names it in
// templates (its CLSID in braces). It has no methods and raises no events.
#pragma once

#define CLSID_CLASS_MONITOR "{745297CC-23BA-440D-B5FC-46B12661809E}"

#ifndef RC_INVOKED
#include "framework/Clsid.h"

namespace monitorcontract {
constexpr CLSID kClsid = ClsidFromText(CLSID_CLASS_MONITOR);
}  // namespace monitorcontract
#endif
