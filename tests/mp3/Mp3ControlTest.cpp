// The MP3 player control in a dialog, driven through its wrapper the way the bar drives it:
// events arrive after the calls that cause them, files that cannot play never stall a
// playlist, and the texts, lengths and volume are what the bar shows and sends.
#include "ocx/mp3/Mp3Control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Samples.h"
#include "framework/Dialog.h"
#include "hosted/Mp3pctrl1.h"
#include "res/resource.h"
#include "tests/mp3/Mp3TestIds.h"
#include "tests/support/TestKit.h"

namespace {
struct Registered {
  // Before the test program registers its placeholder classes.
  Registered() { CHostedControl::RegisterControlClass<CMp3Control>(CLSID_CLASS_MP3); }
} g_registered;

struct Event {
  DISPID dispid;
  long a, b;
};

// A container like the bar: it records every event and, given a playlist, moves on at the
// end of each track the way the bar's auto-advance does.
class Host : public CDialog {
 public:
  Host() : CDialog(IDD_MP3_HOST) {}
  const EventSinkMap* GetEventSinkMap() const override {
    static const EventSinkEntry entries[] = {
        OnEvent<&Host::OnProgress>(IDC_MP3, mp3contract::kProgress),
        OnEvent<&Host::OnStateChange>(IDC_MP3, mp3contract::kStateChange),
        OnEvent<&Host::OnOpened>(IDC_MP3, mp3contract::kOpened),
    };
    static const EventSinkMap map{CDialog::GetEventSinkMap(), entries};
    return &map;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_MP3, mp3); }

  void OnProgress(long position, long length) { Record({mp3contract::kProgress, position, length}); }
  void OnOpened() { Record({mp3contract::kOpened, 0, 0}); }
  void OnStateChange(short state) {
    Record({mp3contract::kStateChange, state, 0});
    if (advanceArmed && mp3.GetState() == mp3contract::kStopped && playlistPos + 1 < long(playlist.size())) {
      ++playlistPos;
      mp3.OpenFile(playlist[size_t(playlistPos)].c_str());
      mp3.Play();
    }
    advanceArmed = true;
  }
  void Record(const Event& event) {
    events.push_back(event);
    if (inCall) heardDuringACall = true;
  }
  // Runs one of the wrapper's calls the way a handler does: events must not come inside it.
  template <class Call> void Command(Call call) {
    inCall = true;
    call();
    inCall = false;
    advanceArmed = false;
  }
  void StartPlaylist(const std::vector<std::string>& entries) {
    playlist = entries;
    playlistPos = 0;
    Command([&] {
      mp3.OpenFile(playlist[0].c_str());
      mp3.Play();
    });
  }
  CMp3Player& Player() { return static_cast<CMp3Control*>(CWnd::FromHandlePermanent(mp3.m_hWnd))->Player(); }
  std::vector<long> States() const {
    std::vector<long> states;
    for (const Event& e : events)
      if (e.dispid == mp3contract::kStateChange) states.push_back(e.a);
    return states;
  }
  int Count(DISPID dispid) const {
    int n = 0;
    for (const Event& e : events) n += e.dispid == dispid;
    return n;
  }

  CMp3pctrl1 mp3;
  std::vector<Event> events;
  bool inCall = false, heardDuringACall = false, advanceArmed = false;
  std::vector<std::string> playlist;
  long playlistPos = 0;
};

class Mp3Control : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testkit::ScratchDir("mp3-control");
    samples::WriteAll(dir->path);
    testkit::WriteTextFile(*dir / "text.mp3", "Just some words.\r\n");
    testkit::WriteTextFile(*dir / "empty.mp3", "");
    testkit::WriteTextFile(*dir / "wave.mp3", samples::Wav(200));
    testkit::WriteTextFile(*dir / "random.mp3", samples::RandomBytes(30000, 3));
    testkit::WriteTextFile(*dir / "stub.mp3", samples::Bytes("CBR44S_TAGS").substr(0, 400));  // no whole frame
    CreateDirectoryA((*dir / "folder.mp3").c_str(), nullptr);
  }
  static void TearDownTestSuite() { delete dir; }
  void SetUp() override { ASSERT_TRUE(host.Create(IDD_MP3_HOST)); }
  void TearDown() override {
    host.DestroyWindow();
    EXPECT_FALSE(host.heardDuringACall) << "an event came inside the call that caused it";
  }
  static std::string PathOf(const char* name) { return *dir / (std::string(name) + ".mp3"); }
  bool PumpUntilState(long state, size_t count = 1, DWORD timeoutMs = 8000) {
    return testkit::PumpUntil(
        [&] {
          size_t n = 0;
          for (long s : host.States()) n += s == state;
          return n >= count;
        },
        timeoutMs);
  }

  Host host;
  static testkit::ScratchDir* dir;
};
testkit::ScratchDir* Mp3Control::dir = nullptr;
}  // namespace

TEST_F(Mp3Control, PlaysWithProgressAndEndsWithAStateChange) {
  if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound device here: the player runs on its own clock";
  host.Command([&] { host.mp3.OpenFile(PathOf("VBR44S_XING").c_str()); });
  EXPECT_TRUE(host.events.empty()) << "nothing is raised inside OpenFile";
  testkit::Pump(50);
  EXPECT_EQ(host.Count(mp3contract::kOpened), 1) << "Opened";
  EXPECT_EQ(host.mp3.GetLength(), 2037);
  EXPECT_STREQ(host.mp3.GetProgressText(0), "0:02");
  EXPECT_STREQ(host.mp3.GetProgressText(1), "0:00");
  host.events.clear();
  host.Command([&] { host.mp3.Play(); });
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kPlaying);
  EXPECT_TRUE(host.Player().Output().DeviceDue()) << "the device opens once the thread is idle, not inside Play";
  ASSERT_TRUE(testkit::PumpUntil([&] { return host.Player().Output().OnDevice(); }, 2000));
  ASSERT_TRUE(PumpUntilState(1));
  EXPECT_EQ(host.States(), (std::vector<long>{2, 1}));
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kStopped);
  long last = 0;
  int during = 0;
  for (const Event& e : host.events) {
    if (e.dispid == mp3contract::kStateChange && e.a == 1) break;
    if (e.dispid != mp3contract::kProgress) continue;
    EXPECT_EQ(e.b, 2037);
    EXPECT_GE(e.a, last);
    EXPECT_LE(e.a, 2037);
    last = e.a;
    ++during;
  }
  EXPECT_GE(during, 1) << "progress while playing (the null device plays the 2 s in about half a second)";
  EXPECT_EQ(host.events.back().dispid, mp3contract::kProgress) << "a last progress shows the rewound position";
  EXPECT_EQ(host.events.back().a, 0);
  EXPECT_FALSE(host.Player().Output().IsOpen()) << "the device is let go";
  host.Command([&] { host.mp3.Play(); });
  ASSERT_TRUE(PumpUntilState(1, 2)) << "plays again from the start";
}

// Pausing, seeking and stopping before the device has opened act on the sound still to come.
TEST_F(Mp3Control, CallsBeforeTheDeviceOpensActOnTheSoundToCome) {
  if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound device here: the player runs on its own clock";
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
    host.mp3.Pause();
    host.mp3.Seek(500, host.mp3.GetLength());
  });
  ASSERT_TRUE(testkit::PumpUntil([&] { return host.Player().Output().OnDevice(); }, 2000));
  testkit::Pump(200);
  EXPECT_NEAR(double(host.Player().PositionMs()), 500.0, 60.0) << "it opened paused where it was sought";
  host.Command([&] { host.mp3.Play(); });
  ASSERT_TRUE(PumpUntilState(1));
  EXPECT_EQ(host.States(), (std::vector<long>{2, 3, 2, 1}));
  host.Command([&] {
    host.mp3.Play();
    host.mp3.Stop();
  });
  testkit::Pump(200);
  EXPECT_FALSE(host.Player().Output().OnDevice()) << "a stop before the opening leaves the device shut";
  EXPECT_FALSE(host.Player().Output().IsOpen());
  EXPECT_EQ(host.States(), (std::vector<long>{2, 3, 2, 1, 2, 1}));
  host.Command([&] { host.mp3.Play(); });
  ASSERT_TRUE(PumpUntilState(1, 3)) << "and plays again";
}

TEST_F(Mp3Control, WithoutADeviceItsClockKeepsRealTimeWithProgressFourTimesASecond) {
  host.Player().UseSoundDevice(false);
  DWORD start = GetTickCount();
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
  });
  EXPECT_FALSE(host.Player().Output().OnDevice());
  testkit::Pump(1100);
  double elapsed = double(GetTickCount() - start);
  EXPECT_NEAR(double(host.Count(mp3contract::kProgress)), elapsed / 250.0, 2.0);  // and one for the opening
  EXPECT_NEAR(double(host.Player().PositionMs()), elapsed, 100.0);
}

TEST_F(Mp3Control, PauseResumeAndStopEachReportTheirState) {
  host.Player().UseSoundDevice(false);
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
  });
  testkit::Pump(1100);
  host.Command([&] { host.mp3.Pause(); });
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kPaused);
  int64_t held = host.Player().PositionMs();
  EXPECT_GE(held, 1000);
  EXPECT_EQ(std::string(host.mp3.GetProgressText(1)), "0:0" + std::to_string(held / 1000));
  testkit::Pump(100);
  int progress = host.Count(mp3contract::kProgress);
  testkit::Pump(600);
  EXPECT_EQ(host.Count(mp3contract::kProgress), progress) << "no progress while paused";
  host.Command([&] { host.mp3.Pause(); });  // pausing what is paused changes nothing
  EXPECT_EQ(host.Player().PositionMs(), held);
  host.Command([&] { host.mp3.Play(); });
  testkit::Pump(200);
  EXPECT_GE(host.Player().PositionMs(), held) << "resumed where it paused";
  EXPECT_LT(host.Player().PositionMs(), held + 1000);
  host.Command([&] { host.mp3.Stop(); });
  testkit::Pump(50);
  EXPECT_EQ(host.States(), (std::vector<long>{2, 3, 2, 1}));
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kStopped);
  EXPECT_STREQ(host.mp3.GetProgressText(1), "0:00");
  EXPECT_STREQ(host.mp3.GetProgressText(0), "0:03");
  host.Command([&] { host.mp3.Stop(); });
  testkit::Pump(50);
  EXPECT_EQ(host.States().size(), 4u) << "stopping what is stopped is no change";
}

TEST_F(Mp3Control, SeekGoesToAPositionInProgressUnits) {
  host.Player().UseSoundDevice(false);
  host.Command([&] { host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str()); });
  host.Command([&] { host.mp3.Seek(2100, host.mp3.GetLength()); });
  testkit::Pump(50);
  ASSERT_EQ(host.events.back().dispid, mp3contract::kProgress);
  EXPECT_EQ(host.events.back().a, 2100) << "a seek while stopped shows where Play will start";
  host.Command([&] { host.mp3.Play(); });
  EXPECT_STREQ(host.mp3.GetProgressText(1), "0:02");
  host.Command([&] { host.mp3.Seek(100, host.mp3.GetLength()); });  // the bar's slider minimum
  EXPECT_STREQ(host.mp3.GetProgressText(1), "0:00");
  host.Command([&] { host.mp3.Seek(1, 2); });  // another scale: half way
  testkit::Pump(50);
  EXPECT_NEAR(double(host.events.back().a), 1528.0, 60.0);
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kPlaying);
  host.Command([&] { host.mp3.Pause(); });
  host.Command([&] { host.mp3.Seek(500, host.mp3.GetLength()); });
  testkit::Pump(200);
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kPaused) << "a paused player stays paused";
  EXPECT_NEAR(double(host.Player().PositionMs()), 500.0, 60.0);
  host.Command([&] { host.mp3.Play(); });
  host.Command([&] { host.mp3.Seek(99999, host.mp3.GetLength()); });  // past the end: the track ends
  ASSERT_TRUE(PumpUntilState(1));
  EXPECT_EQ(host.States(), (std::vector<long>{2, 3, 2, 1}));
}

TEST_F(Mp3Control, VolumeGoesToThisPlayersDevice) {
  if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound device here: the player runs on its own clock";
  auto level = [](int percent) { return WORD(percent * percent * 0xFFFF / 10000); };  // the left word
  EXPECT_EQ(host.Player().Volume(), 80) << "from the template's stored state";
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
  });
  ASSERT_TRUE(testkit::PumpUntil([&] { return host.Player().Output().OnDevice(); }, 2000));
  EXPECT_EQ(LOWORD(host.Player().Output().DeviceVolume()), level(80));
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  HWAVEOUT other = nullptr;  // another program's sound, say
  ASSERT_EQ(waveOutOpen(&other, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  WaveOutHandle otherOwner(other);
  DWORD otherBefore = 0, otherAfter = 0;
  waveOutGetVolume(other, &otherBefore);
  host.Command([&] { host.mp3.SetVolume(50, 50, 25); });
  EXPECT_EQ(LOWORD(host.Player().Output().DeviceVolume()), level(25)) << "at once, while playing";
  waveOutGetVolume(other, &otherAfter);
  EXPECT_EQ(otherAfter, otherBefore) << "only this player's sound";
  host.Command([&] { host.mp3.SetVolume(50, 50, 400); });
  EXPECT_EQ(LOWORD(host.Player().Output().DeviceVolume()), level(100));
  host.Command([&] { host.mp3.SetVolume(50, 50, -1); });
  EXPECT_EQ(LOWORD(host.Player().Output().DeviceVolume()), level(0));
}

TEST_F(Mp3Control, FilesThatCannotPlayReturnQuietlyAndReportStopped) {
  for (const char* name : {"missing", "text", "empty", "wave", "folder", "random", "stub"}) {
    SCOPED_TRACE(name);
    host.events.clear();
    host.Command([&] {
      host.mp3.OpenFile(PathOf(name).c_str());
      host.mp3.Play();
    });
    EXPECT_EQ(host.mp3.GetState(), mp3contract::kStopped);
    EXPECT_EQ(host.mp3.GetLength(), 0);
    EXPECT_STREQ(host.mp3.GetProgressText(1), "0:00");
    EXPECT_STREQ(host.mp3.GetProgressText(0), "0:00");
    ASSERT_TRUE(PumpUntilState(1));
    EXPECT_EQ(host.Count(mp3contract::kOpened), 0) << "nothing was opened";
  }
  // Opening a bad file while one plays stops it: that is a change too.
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
  });
  host.events.clear();
  host.Command([&] { host.mp3.OpenFile(PathOf("text").c_str()); });
  ASSERT_TRUE(PumpUntilState(1));
  EXPECT_EQ(host.mp3.GetState(), mp3contract::kStopped);
}

TEST_F(Mp3Control, APlaylistPlaysThroughEntriesThatCannotPlay) {
  host.StartPlaylist({PathOf("CBR8M"), PathOf("missing"), PathOf("text"), "", PathOf("CBR22M_BARE")});
  ASSERT_TRUE(
      testkit::PumpUntil([&] { return host.playlistPos == 4 && host.mp3.GetState() == mp3contract::kStopped; }, 10000));
  testkit::Pump(100);
  // Entry 0 plays and ends; 1 to 3 each start and end at once; 4 plays and ends.
  EXPECT_EQ(host.States(), (std::vector<long>{2, 1, 2, 1, 2, 1, 2, 1, 2, 1}));
  EXPECT_EQ(host.mp3.GetLength(), 1567) << "the last entry is the one open";
}

// With nothing playing before, a first entry that cannot start must still hand on: its
// first change is the one a container lets pass after its own call.
TEST_F(Mp3Control, APlaylistWhoseFirstEntriesCannotPlayMovesOn) {
  ASSERT_EQ(host.mp3.GetState(), mp3contract::kStopped);
  host.StartPlaylist({PathOf("missing"), PathOf("folder"), PathOf("CBR8M")});
  ASSERT_TRUE(
      testkit::PumpUntil([&] { return host.playlistPos == 2 && host.mp3.GetState() == mp3contract::kPlaying; }, 5000));
  ASSERT_TRUE(testkit::PumpUntil([&] { return host.mp3.GetState() == mp3contract::kStopped; }, 10000))
      << "the good entry plays to its end";
  EXPECT_GT(host.Count(mp3contract::kProgress), 2) << "it made progress while it played";
}

TEST_F(Mp3Control, GoingAwayWhilePlayingStopsTheSound) {
  host.Command([&] {
    host.mp3.OpenFile(PathOf("VBR22M_VBRI").c_str());
    host.mp3.Play();
  });
  HWND control = host.mp3.m_hWnd;
  host.DestroyWindow();
  EXPECT_FALSE(IsWindow(control));
  host.events.clear();
  testkit::Pump(300);
  EXPECT_TRUE(host.events.empty()) << "no events from a control that is gone";
}
