// The player on the sound device (the test machines' null device takes sound about four
// times faster than real time) and on its own clock: positions, pause, seek, stop, the end
// of a track and the volume.
#include "ocx/mp3/Mp3Player.h"

#include <gtest/gtest.h>

#include "Samples.h"
#include "tests/support/TestKit.h"

namespace {
class Mp3Player : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testkit::ScratchDir("mp3-player");
    samples::WriteAll(dir->path);
    testkit::WriteTextFile(*dir / "text.mp3", "not music");
  }
  static void TearDownTestSuite() { delete dir; }
  static std::string PathOf(const char* name) { return *dir / (std::string(name) + ".mp3"); }
  bool PumpUntilEnded(DWORD timeoutMs = 8000) {
    return testkit::PumpUntil([this] { return ended > 0; }, timeoutMs);
  }

  int ended = 0;
  CMp3Player player{[this] { ++ended; }};
  static testkit::ScratchDir* dir;
};
testkit::ScratchDir* Mp3Player::dir = nullptr;

// The device volume's left word (a mono device has no right one).
WORD Level(int percent) { return WORD(percent * percent * 0xFFFF / 10000); }
}  // namespace

TEST_F(Mp3Player, PlaysToTheEndOnTheDevice) {
  ASSERT_TRUE(player.Open(PathOf("VBR44S_XING").c_str()));
  EXPECT_EQ(player.LengthMs(), 2037);
  ASSERT_TRUE(player.Play());
  EXPECT_TRUE(player.Output().OnDevice());
  EXPECT_EQ(player.GetState(), CMp3Player::kPlaying);
  int64_t last = 0, highest = 0;
  bool steady = true;
  testkit::PumpUntil([&] {
    int64_t now = player.PositionMs();
    steady = steady && (now >= last || ended);
    if (!ended) last = now, highest = std::max(highest, now);
    return ended > 0;
  }, 8000);
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(steady) << "the position never runs back";
  EXPECT_GT(highest, 1500);
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
  EXPECT_EQ(player.PositionMs(), 0) << "the next Play starts again";
  EXPECT_FALSE(player.Output().IsOpen()) << "the device is let go";
  ASSERT_TRUE(player.Play());
  EXPECT_TRUE(testkit::PumpUntil([this] { return ended == 2; }, 8000));
}

TEST_F(Mp3Player, PlaysByItsOwnClockWithoutADevice) {
  player.UseSoundDevice(false);
  ASSERT_TRUE(player.Open(PathOf("VBR22M_VBRI").c_str()));
  DWORD start = GetTickCount();
  ASSERT_TRUE(player.Play());
  EXPECT_FALSE(player.Output().OnDevice());
  testkit::Pump(400);
  double elapsed = double(GetTickCount() - start);
  EXPECT_NEAR(double(player.PositionMs()), elapsed, 100.0) << "the clock keeps real time";
  EXPECT_TRUE(PumpUntilEnded(6000));
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
}

TEST_F(Mp3Player, PauseHoldsThePositionAndPlayGoesOn) {
  for (bool device : {true, false}) {
    SCOPED_TRACE(device ? "device" : "clock");
    player.UseSoundDevice(device);
    ASSERT_TRUE(player.Open(PathOf("VBR22M_VBRI").c_str()));
    ASSERT_TRUE(player.Play());
    testkit::Pump(120);
    player.Pause();
    EXPECT_EQ(player.GetState(), CMp3Player::kPaused);
    int64_t held = player.PositionMs();
    EXPECT_GT(held, 0);
    testkit::Pump(300);
    EXPECT_NEAR(double(player.PositionMs()), double(held), 30.0);
    player.Pause();  // pausing again changes nothing
    EXPECT_EQ(player.GetState(), CMp3Player::kPaused);
    ASSERT_TRUE(player.Play());
    EXPECT_EQ(player.GetState(), CMp3Player::kPlaying);
    EXPECT_GE(player.PositionMs(), held - 30) << "resumed, not restarted";
    int before = ended;
    EXPECT_TRUE(testkit::PumpUntil([&] { return ended > before; }, 8000));
  }
}

TEST_F(Mp3Player, SeekMovesPlaybackWhetherPlayingPausedOrStopped) {
  player.UseSoundDevice(false);  // real-time pacing keeps the positions still enough to read
  ASSERT_TRUE(player.Open(PathOf("VBR22M_VBRI").c_str()));
  player.Seek(1000);
  EXPECT_EQ(player.PositionMs(), 1000) << "stopped: the next Play starts there";
  ASSERT_TRUE(player.Play());
  EXPECT_GE(player.PositionMs(), 900);
  player.Seek(2500);
  EXPECT_NEAR(double(player.PositionMs()), 2500.0, 60.0);
  player.Pause();
  player.Seek(500);
  EXPECT_NEAR(double(player.PositionMs()), 500.0, 60.0);
  EXPECT_EQ(player.GetState(), CMp3Player::kPaused);
  testkit::Pump(200);
  EXPECT_NEAR(double(player.PositionMs()), 500.0, 60.0) << "still paused";
  player.Play();
  player.Seek(99999);  // past the end: the track ends
  EXPECT_TRUE(PumpUntilEnded(2000));
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
}

TEST_F(Mp3Player, StopRewindsAndOpenStopsWhatPlays) {
  ASSERT_TRUE(player.Open(PathOf("CBR44S_TAGS").c_str()));
  ASSERT_TRUE(player.Play());
  testkit::Pump(50);
  player.Stop();
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
  EXPECT_EQ(player.PositionMs(), 0);
  EXPECT_FALSE(player.Output().IsOpen());
  ASSERT_TRUE(player.Play());
  ASSERT_TRUE(player.Open(PathOf("CBR22M_BARE").c_str()));
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
  EXPECT_EQ(player.LengthMs(), 1567);
  testkit::Pump(300);
  EXPECT_EQ(ended, 0) << "a track that was stopped did not end";
}

TEST_F(Mp3Player, TheVolumeIsThisPlayersOwn) {
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  HWAVEOUT other = nullptr;
  ASSERT_EQ(waveOutOpen(&other, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  WaveOutHandle otherOwner(other);
  DWORD otherBefore = 0;
  waveOutGetVolume(other, &otherBefore);
  player.SetVolume(30);
  ASSERT_TRUE(player.Open(PathOf("VBR22M_VBRI").c_str()));
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(LOWORD(player.Output().DeviceVolume()), Level(30)) << "set before Play, applied on opening";
  player.SetVolume(75);
  EXPECT_EQ(LOWORD(player.Output().DeviceVolume()), Level(75)) << "applied at once while playing";
  DWORD otherAfter = 0;
  waveOutGetVolume(other, &otherAfter);
  EXPECT_EQ(otherAfter, otherBefore) << "other sound is left alone";
  player.SetVolume(250);
  EXPECT_EQ(player.Volume(), 100);
  player.SetVolume(-3);
  EXPECT_EQ(player.Volume(), 0);
  EXPECT_EQ(LOWORD(player.Output().DeviceVolume()), Level(0));
}

TEST_F(Mp3Player, NothingPlaysWithoutAPlayableFile) {
  EXPECT_FALSE(player.Play()) << "nothing open";
  EXPECT_FALSE(player.Open(PathOf("text").c_str()));
  EXPECT_FALSE(player.Play());
  player.Pause();
  player.Seek(500);
  player.Stop();
  EXPECT_EQ(player.GetState(), CMp3Player::kStopped);
  EXPECT_EQ(player.PositionMs(), 0);
  EXPECT_EQ(player.LengthMs(), 0);
  EXPECT_EQ(ended, 0);
}
