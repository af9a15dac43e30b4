// Files on the clipboard in the standard formats, so that copy, cut and paste work
// between our views and the desktop's file manager alike.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CString.h"

namespace fileclipboard {

// Puts the paths on the clipboard, offered for copying (DROPEFFECT_COPY) or moving
// (DROPEFFECT_MOVE, a cut).
bool Put(HWND owner, const std::vector<std::wstring>& paths, DWORD effect);
// The paths on the clipboard (none when it holds no files) and what they are offered for.
std::vector<std::wstring> Get(HWND owner, DWORD* effect);
// Empties the clipboard: after cut files were pasted, they are no longer where it says.
void Clear(HWND owner);

}  // namespace fileclipboard
