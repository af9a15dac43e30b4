// The bar's MP3 player panel: buttons and sliders handed to the player control, its
// progress shown, and the playlist file played entry after entry.
#include "app/MainBarDlg.h"

#include <string>

#include "framework/FileNames.h"
#include "framework/LateLibrary.h"
#include "framework/WinApp.h"
#include "media/PlaylistFile.h"

BYTE CMainBarDlg::s_pauseToggle = 0;

namespace {
// A filter in "name|pattern|...||" form as the file dialog wants it, with NULs.
std::string DialogFilter(const char* piped) {
  std::string filter = piped;
  for (char& c : filter)
    if (c == '|') c = '\0';
  return filter;
}
}  // namespace

// After a cancel the control plays whatever it has open. A name the code page cannot hold
// goes to the control in UTF-8; a chosen song that does not start is named in the display.
void CMainBarDlg::OnOpen() {
  std::wstring filter = filenames::FromCodePage(DialogFilter("Mp3 Files (*.mp3)|*.mp3|All Files (*.*)|*.*||"));
  wchar_t path[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = m_hWnd;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"mp3";
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
  bool chosen = late::ShowOpenDialog(dialog);
  if (chosen) m_mp3.OpenFile(filenames::Narrow(path).c_str());
  m_mp3.Play();
  m_advanceArmed = 0;
  if (chosen) m_cannotPlay = m_mp3.GetState() == 1 ? L"cannot play " + std::wstring(path + dialog.nFileOffset) : L"";
}

void CMainBarDlg::OnPlay() {
  m_mp3.Play();
  m_advanceArmed = 0;
}

// Pause pauses, and the next Pause resumes, whatever came in between.
void CMainBarDlg::OnPause() {
  if (s_pauseToggle == 1) {
    m_mp3.Play();
    s_pauseToggle = 0;
    return;
  }
  m_mp3.Pause();
  s_pauseToggle = 1;
  m_advanceArmed = 0;
}

void CMainBarDlg::OnStop() {
  m_mp3.Stop();
  m_advanceArmed = 0;
}

// Skip stops but leaves the follow-on flag, so the stop's state event starts the next entry.
void CMainBarDlg::OnSkip() { m_mp3.Stop(); }

// An empty or missing playlist ends the command before anything is opened, with a word on
// how to make one.
void CMainBarDlg::OnPlayPlaylist() {
  m_playlist = playlist::ReadEntries(playlist::kPath);
  m_playlistPos = 0;
  m_playlistCount = int(m_playlist.size());
  if (m_playlist.empty()) {
    std::string text = std::string("There is nothing to play in the playlist ") + playlist::kPath +
                       ": it is missing or empty.\n\nMake one with PlayList, or write the path of one MP3 file "
                       "on each line of that file.";
    MessageBoxA(m_hWnd, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  m_cannotPlay.clear();
  m_mp3.OpenFile(m_playlist[0].c_str());
  m_mp3.Play();
  m_advanceArmed = 0;
}

// The seek range starts at 100, as the control's positions are read against it; a length
// below 100 is left as it comes. While the user holds the seek slider's thumb it stays where
// the mouse puts it: progress would pull it back four times a second, and the release would
// then seek to where playback already is.
void CMainBarDlg::OnProgress(long position, long length) {
  if (GetCapture() != m_seekSlider.m_hWnd) {
    m_seekSlider.SetRange(100, int(length), TRUE);
    m_seekSlider.SetPos(int(position));
  }
  if (!m_cannotPlay.empty()) {
    ::SetWindowTextW(m_timeDisplay.m_hWnd, m_cannotPlay.c_str());
    return;
  }
  CString first = m_mp3.GetProgressText(1);
  CString second = m_mp3.GetProgressText(0);
  CString text = first;
  text += "--";
  text += second;
  m_timeDisplay.SetWindowText(text);
}

// The first state event after a user command never advances; later ones that find the
// player stopped start the next entry, until the last.
void CMainBarDlg::OnStateChange(short) {
  if (m_advanceArmed == 1 && m_mp3.GetState() == 1) {
    m_playlistNext = m_playlistPos + 1;
    if (m_playlistNext < m_playlistCount) {
      m_cannotPlay.clear();
      m_mp3.OpenFile(m_playlist[size_t(m_playlistNext)].c_str());
      m_mp3.Play();
      m_playlistPos = m_playlistNext;
    }
  }
  m_advanceArmed = 1;
}

// Only a mouse release reaches the control; keys move the sliders alone.
void CMainBarDlg::OnVolumeReleased() { m_mp3.SetVolume(50, 50, short(m_volumeSlider.GetPos())); }

void CMainBarDlg::OnSeekReleased() { m_mp3.Seek(m_seekSlider.GetPos(), m_mp3.GetLength()); }
