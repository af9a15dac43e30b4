// Owners for the codec and sound-device handles of the player.
#pragma once

#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include "framework/Handles.h"

namespace handles {
inline void CloseAcmStream(HACMSTREAM h) { acmStreamClose(h, 0); }
// A device still playing refuses to close: take its buffers back first.
inline void CloseWaveOut(HWAVEOUT h) {
  waveOutReset(h);
  waveOutClose(h);
}
}  // namespace handles

using AcmStreamHandle = UniqueHandle<HACMSTREAM, handles::CloseAcmStream>;
using WaveOutHandle = UniqueHandle<HWAVEOUT, handles::CloseWaveOut>;
