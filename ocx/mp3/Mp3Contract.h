// The MP3 player control's contract with its containers: the window class that names it in
// templates (its CLSID in braces), the DISPIDs of its methods and events, and the states
// GetState answers.
#pragma once

#define CLSID_CLASS_MP3 "{707A5994-8950-11D2-9E58-00A024A8859A}"

#ifndef RC_INVOKED
#include "framework/Clsid.h"

namespace mp3contract {
constexpr CLSID kClsid = ClsidFromText(CLSID_CLASS_MP3);
enum MethodId : DISPID {
  kPlay = 3,
  kPause = 4,
  kStop = 5,
  kSeek = 6,
  kOpenFile = 7,
  kSetVolume = 13,
  kGetLength = 53,
  kGetProgressText = 61,
  kGetState = 62,
};
enum EventId : DISPID { kOpened = 1, kStateChange = 4, kProgress = 7 };
// Stopped: after Stop, at the end of a track, or with nothing open that can play.
enum PlayState : long { kStopped = 1, kPlaying = 2, kPaused = 3 };
}  // namespace mp3contract
#endif
