// The first file view of a process pays once for the shell's icon machinery: the system
// image list (about a tenth of a second under Wine), the shortcut and folder objects, and
// each program's icon the first time it is drawn. Prepare does that work on a thread of its
// own for a folder that a view is about to show, so that the view finds it done. It is
// meant for the moment a person shows they are about to open the view (the pointer on its
// button), not for start-up: the image list stays for good, about 4 MiB under Wine, which a
// program whose views are never opened should not carry.
#pragma once

#include <map>
#include <string>

#include "framework/CString.h"

namespace iconwarmup {
// Prepares the icons of `folder`'s first items, once per folder; a folder asked for while
// another is under way follows it. Called on the window thread.
void Prepare(const std::wstring& folder);
// A view is being made: a preparation under way stops after the icon it is on, so that it
// does not compete with the view for the shell.
void StandAside();
// The own icon made ahead for the item at `path` (as the listing gives it), or -1. The next
// view takes them all (TakeMadeIcons) and shows them at its first painting; none outlives it.
class MadeIcons {
 public:
  int Find(const CString& path) const;
  bool IsEmpty() const { return m_byPath.empty(); }

 private:
  friend MadeIcons TakeMadeIcons();
  std::map<std::string, int> m_byPath;  // by path in upper case
};
MadeIcons TakeMadeIcons();

// Whether `folder` was asked for; whether a preparation is under way. For tests.
bool WasAskedFor(const std::wstring& folder);
bool IsRunning();
}  // namespace iconwarmup
