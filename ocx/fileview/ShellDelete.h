// Deleting files and folders the shell's way: to the Recycle Bin, from where the user can
// bring them back, or for good.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shelldelete {

enum class Mode {
  kRecycle,  // to the Recycle Bin; an item that cannot go there is only deleted after a question
  kForGood,
};

struct Outcome {
  bool aborted = false;  // the user said no to a question
  int error = 0;         // what the shell reported; 0 when all went
};

// `ask` false leaves out the shell's question before a recycle, for a caller that asked itself.
Outcome Delete(HWND owner, const std::vector<std::wstring>& paths, Mode mode, bool ask);

}  // namespace shelldelete
