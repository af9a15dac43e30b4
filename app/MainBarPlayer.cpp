// The bar's MP3 player panel: buttons and sliders handed to the player control, its
// progress shown, and the playlist file handed to the sequencer that plays it entry after
// entry.
#include "app/MainBarDlg.h"

#include <commdlg.h>

#include <string>

#include "framework/FileNames.h"
#include "framework/WinApp.h"
#include "media/PlaylistFile.h"
#include "ocx/mp3/Mp3Contract.h"

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
  bool chosen = GetOpenFileNameW(&dialog);
  if (chosen) m_mp3.OpenFile(filenames::Narrow(path).c_str());
  m_sequencer.Play();
  if (chosen)
    m_cannotPlay =
        m_mp3.GetState() == mp3contract::kStopped ? L"cannot play " + std::wstring(path + dialog.nFileOffset) : L"";
}

void CMainBarDlg::OnPlay() { m_sequencer.Play(); }

void CMainBarDlg::OnPause() { m_sequencer.Pause(); }

void CMainBarDlg::OnStop() { m_sequencer.Stop(); }

void CMainBarDlg::OnSkip() { m_sequencer.Skip(); }

// An empty or missing playlist ends the command before anything is opened, with a word on
// how to make one.
void CMainBarDlg::OnPlayPlaylist() {
  if (m_sequencer.PlayList(playlist::ReadEntries(playlist::kPath))) return;
  std::string text = std::string("There is nothing to play in the playlist ") + playlist::kPath +
                     ": it is missing or empty.\n\nMake one with PlayList, or write the path of one MP3 file "
                     "on each line of that file.";
  MessageBoxA(m_hWnd, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONINFORMATION);
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

void CMainBarDlg::OnStateChange(short) { m_sequencer.OnStateChange(); }

// An entry the sequencer opens replaces what the display said about a song chosen with Open.
void CMainBarDlg::SequencedPlayer::OpenFile(const std::string& path) {
  m_bar.m_cannotPlay.clear();
  m_bar.m_mp3.OpenFile(path.c_str());
}

void CMainBarDlg::SequencedPlayer::Play() { m_bar.m_mp3.Play(); }

void CMainBarDlg::SequencedPlayer::Pause() { m_bar.m_mp3.Pause(); }

void CMainBarDlg::SequencedPlayer::Stop() { m_bar.m_mp3.Stop(); }

bool CMainBarDlg::SequencedPlayer::HasStopped() { return m_bar.m_mp3.GetState() == mp3contract::kStopped; }

// Only a mouse release reaches the control; keys move the sliders alone.
void CMainBarDlg::OnVolumeReleased() { m_mp3.SetVolume(50, 50, short(m_volumeSlider.GetPos())); }

void CMainBarDlg::OnSeekReleased() { m_mp3.Seek(m_seekSlider.GetPos(), m_mp3.GetLength()); }
