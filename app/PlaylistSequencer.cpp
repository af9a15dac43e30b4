#include "app/PlaylistSequencer.h"

#include <utility>

uint8_t CPlaylistSequencer::s_pauseToggle = 0;

void CPlaylistSequencer::Play() {
  m_player.Play();
  m_advanceArmed = 0;
}

void CPlaylistSequencer::Stop() {
  m_player.Stop();
  m_advanceArmed = 0;
}

void CPlaylistSequencer::Skip() { m_player.Stop(); }

// Resuming is not a new command for the follow-on flag; pausing is.
void CPlaylistSequencer::Pause() {
  if (s_pauseToggle == 1) {
    m_player.Play();
    s_pauseToggle = 0;
    return;
  }
  m_player.Pause();
  s_pauseToggle = 1;
  m_advanceArmed = 0;
}

bool CPlaylistSequencer::PlayList(std::vector<std::string> entries) {
  m_playlist = std::move(entries);
  m_playlistPos = 0;
  m_playlistCount = int(m_playlist.size());
  if (m_playlist.empty()) return false;
  m_player.OpenFile(m_playlist[0]);
  m_player.Play();
  m_advanceArmed = 0;
  return true;
}

// The player is asked for its state only once the flag is armed.
void CPlaylistSequencer::OnStateChange() {
  if (m_advanceArmed == 1 && m_player.HasStopped()) {
    m_playlistNext = m_playlistPos + 1;
    if (m_playlistNext < m_playlistCount) {
      m_player.OpenFile(m_playlist[size_t(m_playlistNext)]);
      m_player.Play();
      m_playlistPos = m_playlistNext;
    }
  }
  m_advanceArmed = 1;
}
