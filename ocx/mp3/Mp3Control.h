// The MP3 player control: a hosted control that plays one file at a time for its
// container. Positions and lengths are in milliseconds.
//
// Methods (DISPID): Play (3), Pause (4), Stop (5), Seek (6: position, length), OpenFile (7: a
// path in the ANSI code page, or in UTF-8 where it names no file in the code page),
// SetVolume (13: two ignored values, then 0..100), GetLength (53), GetProgressText (61: 1
// gives the elapsed time, anything else the length, as m:ss with minutes past 59 as they
// are, "75:03"), GetState (62: 1 stopped, at the end of a track or with no file; 2 playing;
// 3 paused).
// Events (DISPID): Progress (7: position, length) four times a second while playing and
// once after each stop, seek or open; StateChange (4: the new state) on every change, and
// twice (2, then 1) when Play finds nothing it can play, as for a track that ends at once;
// Opened (1) when OpenFile has opened a playable file.
// Every event is raised from the control's own message, after the call that caused it has
// returned. Stored state: "volume" (0..100, default 100).
#pragma once

#include <deque>

#include "ocx/HostedControl.h"
#include "ocx/mp3/Mp3Contract.h"
#include "ocx/mp3/Mp3Player.h"

class CMp3Control : public CHostedControl {
 public:
  static constexpr DISPID kOpenedEvent = mp3contract::kOpened, kStateChangeEvent = mp3contract::kStateChange,
                          kProgressEvent = mp3contract::kProgress;

  CMp3Control();
  const MethodMap& GetMethodMap() const override;
  const MessageMap* GetMessageMap() const override;

  void Play();
  void Pause();
  void Stop();
  // `position` is in the units of `length`: when that is not this file's length (a caller's
  // own scale), the position is taken as that share of the track.
  void Seek(long position, long length);
  void OpenFile(const CString& path);
  void SetVolume(short, short, short volume);
  long GetLength();
  CString GetProgressText(long which);
  long GetState();

  CMp3Player& Player() { return m_player; }

 protected:
  void OnCreateControl() override;

 private:
  static constexpr UINT_PTR kProgressTimer = 1;
  static constexpr UINT kProgressMs = 250;
  struct PendingEvent {
    DISPID dispid;
    short state;
  };

  void OnTimer(UINT_PTR id);
  LRESULT OnDeliverEvents(WPARAM, LPARAM);
  bool OnDestroy();
  void Post(DISPID dispid);
  void Post(DISPID dispid, long state);
  void PostState() { Post(kStateChangeEvent); }
  void OnTrackEnded();
  void UpdateTimer();
  void FireProgress();

  CMp3Player m_player;
  std::deque<PendingEvent> m_pending;
};
