// The standard shell formats in which file lists travel through drag and drop and the
// clipboard: CF_HDROP (a DROPFILES block with the paths) and "Preferred DropEffect" (a
// DWORD saying whether the files are offered for copying or for moving).
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

#include "framework/CString.h"

namespace filedrop {

UINT PreferredEffectFormat();
UINT PerformedEffectFormat();
UINT LogicalPerformedEffectFormat();

// A movable global block with DROPFILES and the paths in wide text; nullptr when out of memory.
HGLOBAL MakeDropFiles(const std::vector<std::wstring>& paths);
// The paths in a CF_HDROP block, wide or 8-bit.
std::vector<std::wstring> ReadDropFiles(HGLOBAL drop);

HGLOBAL MakeEffect(DWORD effect);
// The DWORD in an effect block, or `fallback` when the block is missing or too small.
DWORD ReadEffect(HGLOBAL block, DWORD fallback);

// The same, read from a data object.
std::vector<std::wstring> FilesFrom(IDataObject* data);
// An effect format (one of the three above) of a data object, or `fallback`.
DWORD EffectFrom(IDataObject* data, UINT format, DWORD fallback);
// Sets an effect format into a data object; false when it does not take it.
bool SetEffect(IDataObject* data, UINT format, DWORD effect);
bool HasFiles(IDataObject* data);

}  // namespace filedrop
