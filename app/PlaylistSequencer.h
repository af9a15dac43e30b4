// CPlaylistSequencer: the player panel's rules, with no window in them. The bar tells it the
// user's commands and the player control's state events; it decides what the player is to
// open and play, and when the playlist moves on to its next entry. It makes each call on the
// player before it changes its own state, so a call that fails (and throws) ends the step
// there, with the state as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CPlaylistSequencer {
 public:
  // The player as the sequencer drives it.
  class Player {
   public:
    virtual void OpenFile(const std::string& path) = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // True when playback has stopped: after Stop, at the end of a track, or with nothing open.
    virtual bool HasStopped() = 0;

   protected:
    ~Player() = default;
  };

  explicit CPlaylistSequencer(Player& player) : m_player(player) {}
  CPlaylistSequencer(const CPlaylistSequencer&) = delete;
  CPlaylistSequencer& operator=(const CPlaylistSequencer&) = delete;

  // Play and Stop are user commands: the next state event never advances the playlist.
  // Play also follows Open, which plays what the player has open.
  void Play();
  void Stop();
  // Stops but keeps the follow-on flag, so the stop's state event starts the next entry.
  void Skip();
  // Pauses, and the next Pause resumes, whatever came in between.
  void Pause();
  // Takes `entries` as the playlist and plays its first. With none, nothing is opened or
  // played and the follow-on flag is kept; the answer is then false.
  bool PlayList(std::vector<std::string> entries);
  // A state event of the player: the first since a user command only arms the follow-on;
  // a later one that finds the player stopped plays the next entry, until the last.
  void OnStateChange();

  const std::vector<std::string>& Playlist() const { return m_playlist; }
  int PlaylistPos() const { return m_playlistPos; }
  int PlaylistCount() const { return m_playlistCount; }
  bool AdvanceArmed() const { return m_advanceArmed == 1; }
  // True while a Pause click has paused and the next one will resume. Program-wide.
  static bool PauseToggle() { return s_pauseToggle == 1; }

 private:
  Player& m_player;
  std::vector<std::string> m_playlist;
  int m_playlistPos = 0;    // the entry now playing
  int m_playlistNext = 0;   // the entry that would follow
  int m_playlistCount = 0;  // the entries in m_playlist
  int m_advanceArmed = 0;   // 0 right after a user command, 1 once a state event came since
  static uint8_t s_pauseToggle;
};
