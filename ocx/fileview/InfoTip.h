// The tip shown while the mouse rests on an item: the shell's own info tip (IQueryInfo), or,
// where the shell gives none, the same facts gathered here: a shortcut's target and comment,
// a file's type, size and date of last change.
#pragma once

#include <string>

namespace infotip {

std::wstring For(const std::wstring& folder, const std::wstring& name, bool isFolder);

}  // namespace infotip
