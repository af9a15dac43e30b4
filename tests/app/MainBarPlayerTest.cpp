// The bar's player panel through its real handlers and the real player control, with the
// control's events arriving as the control raises them: the display, the playlist played
// entry after entry past what cannot play, pausing, skipping and the sliders.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/FileNames.h"
#include "media/PlaylistFile.h"
#include "ocx/mp3/Mp3Control.h"
#include "tests/app/MainBarFixture.h"
#include "tests/mp3/Samples.h"

using namespace bartest;

namespace {
// The bar with sample tracks on disk and a way to write the playlist file it plays.
class BarPlayer : public MainBar {
 protected:
  static void SetUpTestSuite() {
    dir = new testkit::ScratchDir("bar-player");
    samples::WriteAll(dir->path);
    testkit::WriteTextFile(*dir / "words.mp3", "Only words, no sound.\r\n");
    testkit::WriteTextFile(*dir / "damaged.mp3", samples::RandomBytes(20000, 5));
    CreateDirectoryA((*dir / "folder.mp3").c_str(), nullptr);
    CreateDirectoryA("C:\\tyb", nullptr);
  }
  static void TearDownTestSuite() {
    DeleteFileA(playlist::kPath);
    delete dir;
  }
  void SetUp() override {
    MainBar::SetUp();
    Start();
    Control().Player().UseSoundDevice(false);
    testkit::Pump(100);  // the start-up sound's own events
  }
  static std::string Track(const char* name) { return *dir / (std::string(name) + ".mp3"); }
  static void WritePlaylist(const std::string& text) { testkit::WriteTextFile(playlist::kPath, text); }
  CMp3Control& Control() { return *static_cast<CMp3Control*>(CWnd::FromHandlePermanent(bar.GetDlgItem(IDC_MP3))); }
  // Lets the bar run until the player stops at the last entry, noting each entry that plays.
  std::vector<int> PlayedUntilTheEnd(DWORD timeoutMs) {
    std::vector<int> played;
    testkit::PumpUntil(
        [&] {
          if (bar.m_mp3.GetState() == mp3contract::kPlaying &&
              (played.empty() || played.back() != Sequencer().PlaylistPos()))
            played.push_back(Sequencer().PlaylistPos());
          return Sequencer().PlaylistPos() == Sequencer().PlaylistCount() - 1 &&
                 bar.m_mp3.GetState() == mp3contract::kStopped && Sequencer().AdvanceArmed();
        },
        timeoutMs);
    testkit::Pump(200);  // nothing more may start
    EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kStopped);
    return played;
  }
  static testkit::ScratchDir* dir;
};
testkit::ScratchDir* BarPlayer::dir = nullptr;
}  // namespace

TEST_F(MainBar, TheDisplayShowsTheProgressTextsAndTheSeekRangeStartsAt100) {
  Start();
  EXPECT_EQ(bar.m_timeDisplay.GetBkColor(), RGB(1, 0, 0));
  EXPECT_EQ(bar.m_timeDisplay.GetTextColor(), RGB(44, 255, 9));
  bar.OnProgress(5000, 60000);
  EXPECT_EQ(bar.m_seekSlider.GetRangeMin(), 100);
  EXPECT_EQ(bar.m_seekSlider.GetRangeMax(), 60000);
  EXPECT_EQ(bar.m_seekSlider.GetPos(), 5000);
  EXPECT_EQ(bar.m_timeDisplay.GetWindowText(), "0:00--0:00");
  bar.OnProgress(50, 80);
  EXPECT_EQ(bar.m_seekSlider.GetRangeMin(), 100) << "a length below 100 is left as it comes";
  EXPECT_EQ(bar.m_seekSlider.GetRangeMax(), 80);
  // While the user drags the thumb, progress leaves the slider where the mouse has it.
  bar.OnProgress(5000, 60000);
  SetCapture(bar.m_seekSlider.m_hWnd);
  bar.OnProgress(7000, 61000);
  ReleaseCapture();
  EXPECT_EQ(bar.m_seekSlider.GetPos(), 5000);
  EXPECT_EQ(bar.m_seekSlider.GetRangeMax(), 60000);
}

TEST_F(MainBar, AnEmptyOrMissingPlaylistSaysHowToMakeOneAndPlaysNothing) {
  testkit::MessageBoxAnswerer boxes(IDOK);
  Start();
  for (bool present : {false, true}) {
    DeleteFileA(playlist::kPath);
    if (present) testkit::WriteTextFile(playlist::kPath, "");
    bar.OnStateChange(0);  // arms the follow-on
    ClickButton(bar, IDC_PLAY_PLAYLIST);
    EXPECT_EQ(Sequencer().PlaylistCount(), 0);
    EXPECT_TRUE(Sequencer().AdvanceArmed()) << "the command ended before anything was opened";
  }
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_NE(boxes.Boxes()[0].text.find("c:/tyb/playlist.m3u"), std::string::npos);
  EXPECT_NE(boxes.Boxes()[0].text.find("PlayList"), std::string::npos);
  DeleteFileA(playlist::kPath);
}

TEST_F(BarPlayer, ThreeEntriesPlayInOrderThenTheBarStops) {
  // The last line has no line end; it is still an entry.
  WritePlaylist(Track("CBR8M") + "\r\n" + Track("CBR22M_BARE") + "\n" + Track("CBR44S_TAGS"));
  ClickButton(bar, IDC_PLAY_PLAYLIST);
  ASSERT_EQ(Sequencer().PlaylistCount(), 3);
  EXPECT_EQ(Sequencer().Playlist()[2], Track("CBR44S_TAGS"));
  EXPECT_EQ(PlayedUntilTheEnd(12000), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(bar.m_mp3.GetLength(), 1541) << "the last entry is the one left open";
  EXPECT_EQ(bar.m_seekSlider.GetRangeMax(), 1541) << "progress reached the slider";
}

TEST_F(BarPlayer, WhatCannotPlayIsPassedOverAndEveryGoodEntryPlaysToTheEnd) {
  // Missing files, a folder, random bytes and text named .mp3, and an empty line, around and
  // between good tracks; the first entry is one that cannot play.
  std::vector<std::string> lines = {Track("missing"), Track("CBR8M"),       Track("folder"), Track("damaged"), "",
                                    Track("words"),   Track("CBR22M_BARE"), Track("gone"),   Track("CBR8M")};
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WritePlaylist(text);
  ClickButton(bar, IDC_PLAY_PLAYLIST);
  ASSERT_EQ(Sequencer().PlaylistCount(), 9) << "the empty line is an entry";
  EXPECT_EQ(PlayedUntilTheEnd(15000), (std::vector<int>{1, 6, 8}));
}

TEST_F(BarPlayer, PauseTogglesAndPlayInBetweenDoesNotResetIt) {
  if (CPlaylistSequencer::PauseToggle()) ClickButton(bar, IDC_PAUSE);  // the toggle outlives a bar
  bar.m_mp3.OpenFile(Track("VBR22M_VBRI").c_str());
  ClickButton(bar, IDC_PLAY);
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kPlaying);
  ClickButton(bar, IDC_PAUSE);
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kPaused);
  ClickButton(bar, IDC_PAUSE);
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kPlaying) << "the second Pause resumes";
  ClickButton(bar, IDC_PAUSE);
  ClickButton(bar, IDC_PLAY);
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kPlaying);
  ClickButton(bar, IDC_PAUSE);
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kPlaying) << "after Pause and Play, Pause still resumes";
  EXPECT_FALSE(CPlaylistSequencer::PauseToggle());
  ClickButton(bar, IDC_STOP);
}

TEST_F(BarPlayer, StopHoldsThePlaylistAndSkipStartsTheNextEntry) {
  WritePlaylist(Track("VBR22M_VBRI") + "\r\n" + Track("VBR44S_XING") + "\r\n" + Track("CBR8M") + "\r\n");
  ClickButton(bar, IDC_PLAY_PLAYLIST);
  ASSERT_TRUE(testkit::PumpUntil([&] { return Sequencer().AdvanceArmed(); }));
  ClickButton(bar, IDC_STOP);
  testkit::Pump(300);
  EXPECT_EQ(Sequencer().PlaylistPos(), 0) << "the state event after Stop does not advance";
  EXPECT_EQ(bar.m_mp3.GetState(), mp3contract::kStopped);
  ClickButton(bar, IDC_PLAY);
  ASSERT_TRUE(testkit::PumpUntil([&] { return Sequencer().AdvanceArmed(); }));
  ClickButton(bar, IDC_SKIP);
  ASSERT_TRUE(testkit::PumpUntil(
      [&] { return Sequencer().PlaylistPos() == 1 && bar.m_mp3.GetState() == mp3contract::kPlaying; }));
  EXPECT_EQ(bar.m_mp3.GetLength(), 2037) << "the second entry plays";
  ClickButton(bar, IDC_STOP);
}

// Keys move a slider on their own; only letting go of the mouse reaches the control.
TEST_F(BarPlayer, SlidersActOnTheMouseReleaseOnly) {
  bar.m_mp3.OpenFile(Track("VBR22M_VBRI").c_str());
  ClickButton(bar, IDC_PLAY);
  testkit::Pump(300);
  int volumeBefore = Control().Player().Volume();
  HWND volume = bar.m_volumeSlider.m_hWnd;
  HWND seek = bar.m_seekSlider.m_hWnd;
  for (int i = 0; i < 5; ++i) {
    SendMessageA(volume, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageA(seek, WM_KEYDOWN, VK_END, 0);
  }
  testkit::Pump(50);
  EXPECT_NE(bar.m_volumeSlider.GetPos(), 25) << "the keys moved the slider";
  EXPECT_EQ(Control().Player().Volume(), volumeBefore);
  EXPECT_LT(Control().Player().PositionMs(), 2000) << "the seek slider's keys sent nothing";

  NMHDR released{volume, UINT_PTR(IDC_VOLUME_SLIDER), UINT(NM_RELEASEDCAPTURE)};
  bar.SendMessage(WM_NOTIFY, IDC_VOLUME_SLIDER, reinterpret_cast<LPARAM>(&released));
  EXPECT_EQ(Control().Player().Volume(), bar.m_volumeSlider.GetPos());
  ClickButton(bar, IDC_STOP);
}

// Names the code page cannot hold reach the player; a song chosen with Open that cannot play
// is named in the display in place of the progress.
TEST_F(BarPlayer, SongsOfEveryNamePlayAndOneThatCannotSaysSo) {
  std::wstring folder = filenames::FromCodePage(dir->path) + L"\\";
  std::wstring cafe = folder + L"caf\u00e9.mp3", song = folder + L"\u65e5\u672c\u306e\u6b4c.mp3";
  testkit::WriteTextFile(cafe, samples::Bytes("CBR8M"));
  testkit::WriteTextFile(song, samples::Bytes("CBR22M_BARE"));
  testkit::WriteTextFile(folder + L"caf\u00e9 words.mp3", "Only words.");
  // As the editor saves them, and café in UTF-8 as other players write it.
  WritePlaylist(filenames::Narrow(cafe) + "\r\n" + filenames::Narrow(song) + "\r\n" + filenames::ToUtf8(cafe) + "\r\n");
  ClickButton(bar, IDC_PLAY_PLAYLIST);
  EXPECT_EQ(PlayedUntilTheEnd(12000), (std::vector<int>{0, 1, 2}));
  auto open = [&](const std::wstring& chosen) {
    testkit::OpenDialogAnswerer answer(chosen);
    ClickButton(bar, IDC_OPEN);
    testkit::Pump(300);
    return std::string(bar.m_timeDisplay.GetWindowText().GetString());
  };
  EXPECT_EQ(open(folder + L"caf\u00e9 words.mp3"), filenames::Narrow(L"cannot play caf\u00e9 words.mp3"));
  open(song);
  EXPECT_EQ(bar.m_mp3.GetLength(), 1567) << "the song the code page cannot name plays";
  EXPECT_EQ(bar.m_timeDisplay.GetWindowText().Find("--"), 4) << "its progress is shown again";
  ClickButton(bar, IDC_STOP);
}
