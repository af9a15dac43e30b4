#include "ocx/fileview/FileClipboard.h"

#include "ocx/fileview/FileDropList.h"

namespace fileclipboard {
namespace {
// The clipboard for as long as the object lives. Another program may hold it for a moment.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < 5 && !m_open; ++attempt) {
      m_open = OpenClipboard(owner) != FALSE;
      if (!m_open) Sleep(20);
    }
  }
  ~OpenedClipboard() {
    if (m_open) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return m_open; }

 private:
  bool m_open = false;
};

bool SetBlock(UINT format, HGLOBAL block) {
  if (block && SetClipboardData(format, block)) return true;
  if (block) GlobalFree(block);  // the clipboard did not take it
  return false;
}
}  // namespace

bool Put(HWND owner, const std::vector<std::wstring>& paths, DWORD effect) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen() || paths.empty() || !EmptyClipboard()) return false;
  return SetBlock(CF_HDROP, filedrop::MakeDropFiles(paths)) &&
         SetBlock(filedrop::PreferredEffectFormat(), filedrop::MakeEffect(effect));
}

std::vector<std::wstring> Get(HWND owner, DWORD* effect) {
  if (effect) *effect = DROPEFFECT_COPY;
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return {};
  HANDLE drop = GetClipboardData(CF_HDROP);
  if (!drop) return {};
  HANDLE preferred = GetClipboardData(filedrop::PreferredEffectFormat());
  // Only a plain move marks a cut; a mixed offer is taken as the safer copy.
  if (effect && preferred && filedrop::ReadEffect(preferred, DROPEFFECT_COPY) == DROPEFFECT_MOVE)
    *effect = DROPEFFECT_MOVE;
  return filedrop::ReadDropFiles(drop);
}

void Clear(HWND owner) {
  OpenedClipboard clipboard(owner);
  if (clipboard.IsOpen()) EmptyClipboard();
}

}  // namespace fileclipboard
