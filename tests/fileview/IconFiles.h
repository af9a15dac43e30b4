// Files with icons of known looks for the file view's icon tests: icon files of one solid
// colour each, and shortcuts that name their icon.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// A 32 x 32 icon file all of colour `colour`.
void WriteSolidIcon(const std::string& path, COLORREF colour);
// A shortcut to `target` that shows icon 0 of `iconFile` (none: the target's own icon).
bool MakeShortcut(const std::string& link, const std::string& target, const std::string& iconFile = "");
// The colour at the middle of image `index` of `imageList`, drawn on white.
COLORREF MiddleOfImage(HIMAGELIST imageList, int index);
