// CMainBarDlg: the bar itself, the program's main window. A borderless strip run modally
// by the application object; it adds the tray icon, paints its background artwork, reads
// the settings once at start and places itself at the top or bottom of the screen.
#pragma once

#include "app/PlaylistSequencer.h"
#include "controls/BitmapDialog.h"
#include "controls/ClockLabel.h"
#include "controls/ColorEdit.h"
#include "hosted/Mp3pctrl1.h"
#include "media/BitmapSlider.h"
#include "selectors/Categories.h"

#include <string>

class CNoteDlg;
class CHelpDlg;
class CSelectorDlg;

constexpr UINT WM_TRAYNOTIFY = WM_USER + 10;
constexpr UINT kTrayIconId = 187;
constexpr int kSelectorSlots = int(kCategoryCount);

class CMainBarDlg : public CBitmapDialog {
 public:
  explicit CMainBarDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  virtual void OnTimer(UINT_PTR id);

  const MessageMap* GetMessageMap() const override;
  const EventSinkMap* GetEventSinkMap() const override;

  // The note and help buttons: each click opens one more window.
  void OnNote();
  void OnHelp();

  // The category buttons, one per row of the category table: each opens a new window of its
  // category for the selector lifetime.
  template <std::size_t Row> void OnCategory();
  // Close writes the marker and ends the program; Calendar starts the calendar program.
  void OnCloseBar();
  void OnCalendar();
  // Opt. runs the options window; what it changes counts from the next start.
  void OnOptions();

  // The player panel: its buttons, and the player control's events.
  void OnOpen();
  void OnPlay();
  void OnPause();
  void OnStop();
  void OnPlayPlaylist();
  void OnPlaylistEditor();
  void OnSkip();
  void OnProgress(long position, long length);
  void OnStateChange(short state);
  void OnPlayerOpened() {}

  // The window in a category's slot (timer id - 1), or nullptr.
  CSelectorDlg* SelectorIn(int slot) const { return slot >= 0 && slot < kSelectorSlots ? m_selectors[slot] : nullptr; }

 protected:
  LRESULT OnNcHitTest(POINT screen);
  BOOL OnSetCursor(HWND under, UINT hitTest, UINT mouseMessage);
  bool OnPaint();
  HICON OnQueryDragIcon();
  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
  void OnVolumeReleased();
  void OnSeekReleased();

  // Start-up steps after the tray icon, in their order.
  void SetUpPlayerPanel();
  void StartClock();
  void ApplySettings();
  void ReopenNote();
  void OpenSelector(CSelectorDlg* selector, std::size_t row);

  HICON m_barIcon;
  CNoteDlg* m_noteWnd = nullptr;                   // the note window opened last
  CSelectorDlg* m_selectors[kSelectorSlots] = {};  // the window opened last per category
  CHelpDlg* m_helpWnd = nullptr;                   // the help window opened last
  // The player control as the playlist sequencer drives it.
  class SequencedPlayer final : public CPlaylistSequencer::Player {
   public:
    explicit SequencedPlayer(CMainBarDlg& bar) : m_bar(bar) {}
    void OpenFile(const std::string& path) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    bool HasStopped() override;

   private:
    CMainBarDlg& m_bar;
  };

  CMp3pctrl1 m_mp3;
  CColorEdit m_timeDisplay;
  SequencedPlayer m_sequencedPlayer{*this};
  CPlaylistSequencer m_sequencer{m_sequencedPlayer};  // the playlist, its position and the play flags
  std::wstring m_cannotPlay;                          // shown for progress while the song chosen with Open cannot play
  CBitmapSlider m_seekSlider;
  CBitmapSlider m_volumeSlider;
  CClockLabel m_clock;
  int m_selectorCloseMs = 0;
};
