// The player panel's rules on their own: which commands clear the follow-on flag, which
// state events move the playlist on, and what the player is told, in what order.
#include "app/PlaylistSequencer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {
using Calls = std::vector<std::string>;

// A player that notes every call and answers the state query as the test sets it.
class FakePlayer : public CPlaylistSequencer::Player {
 public:
  void OpenFile(const std::string& path) override {
    if (path == failing) throw std::runtime_error("the player rejected " + path);
    calls.push_back("open " + path);
  }
  void Play() override { calls.push_back("play"); }
  void Pause() override { calls.push_back("pause"); }
  void Stop() override { calls.push_back("stop"); }
  bool HasStopped() override {
    calls.push_back("stopped?");
    return stopped;
  }
  // The calls since the last look.
  Calls Taken() { return std::exchange(calls, {}); }

  Calls calls;
  bool stopped = true;
  std::string failing = "\x01";
};

class PlaylistSequencer : public testing::Test {
 protected:
  void SetUp() override {
    // The pause toggle is the program's, not the object's: bring it back to its start.
    if (CPlaylistSequencer::PauseToggle()) sequencer.Pause();
    player.Taken();
  }
  FakePlayer player;
  CPlaylistSequencer sequencer{player};
};
}  // namespace

TEST_F(PlaylistSequencer, StateEventsAdvanceThePlaylistOnlyAfterTheFirstSinceACommand) {
  ASSERT_TRUE(sequencer.PlayList({"one.mp3", "", "three.mp3"}));
  sequencer.Stop();
  EXPECT_FALSE(sequencer.AdvanceArmed());
  player.Taken();
  sequencer.OnStateChange();
  EXPECT_EQ(sequencer.PlaylistPos(), 0) << "the first state event after a command never advances";
  EXPECT_TRUE(sequencer.AdvanceArmed());
  EXPECT_EQ(player.Taken(), Calls{}) << "nor asks the player anything";
  player.stopped = false;
  sequencer.OnStateChange();
  EXPECT_EQ(sequencer.PlaylistPos(), 0) << "playing or paused: nothing moves";
  player.stopped = true;
  sequencer.OnStateChange();
  EXPECT_EQ(sequencer.PlaylistPos(), 1) << "the empty entry is handed on like any other";
  sequencer.OnStateChange();
  EXPECT_EQ(sequencer.PlaylistPos(), 2);
  sequencer.OnStateChange();
  EXPECT_EQ(sequencer.PlaylistPos(), 2) << "no wrap-around after the last entry";
  EXPECT_EQ(player.Taken(),
            (Calls{"stopped?", "stopped?", "open ", "play", "stopped?", "open three.mp3", "play", "stopped?"}));
  sequencer.Skip();
  EXPECT_TRUE(sequencer.AdvanceArmed()) << "skip keeps the follow-on flag";
  EXPECT_EQ(sequencer.Playlist(), (Calls{"one.mp3", "", "three.mp3"})) << "the list outlives the commands";
}

// Pausing is a user command for the follow-on flag; resuming is not.
TEST_F(PlaylistSequencer, PauseTogglesAndPlayInBetweenDoesNotResetIt) {
  sequencer.OnStateChange();
  sequencer.Pause();
  EXPECT_TRUE(CPlaylistSequencer::PauseToggle());
  EXPECT_FALSE(sequencer.AdvanceArmed());
  sequencer.OnStateChange();
  sequencer.Pause();
  EXPECT_TRUE(sequencer.AdvanceArmed());
  EXPECT_EQ(player.Taken(), (Calls{"pause", "play"})) << "the second Pause resumes";
  sequencer.Pause();
  sequencer.OnStateChange();
  sequencer.Play();
  EXPECT_FALSE(sequencer.AdvanceArmed());
  sequencer.Pause();
  EXPECT_EQ(player.Taken(), (Calls{"pause", "play", "play"})) << "after Pause and Play, Pause still resumes";
  EXPECT_FALSE(CPlaylistSequencer::PauseToggle());
  CPlaylistSequencer other{player};
  sequencer.Pause();
  other.Pause();
  EXPECT_EQ(player.Taken(), (Calls{"pause", "play"})) << "one toggle for the whole program";
}

TEST_F(PlaylistSequencer, AnEmptyPlaylistPlaysNothingAndKeepsTheFlag) {
  sequencer.PlayList({"a.mp3", "b.mp3"});
  sequencer.OnStateChange();
  player.Taken();
  EXPECT_FALSE(sequencer.PlayList({}));
  EXPECT_EQ(sequencer.PlaylistCount(), 0);
  EXPECT_TRUE(sequencer.AdvanceArmed()) << "the command ended before anything was opened";
  sequencer.OnStateChange();
  EXPECT_EQ(player.Taken(), Calls{"stopped?"}) << "nothing is left to follow on with";
}

// A call the player rejects ends the step there: nothing after it is done or remembered.
TEST_F(PlaylistSequencer, ARejectedCallLeavesThePositionAsItWas) {
  sequencer.PlayList({"a.mp3", "bad.mp3"});
  sequencer.OnStateChange();
  player.failing = "bad.mp3";
  EXPECT_THROW(sequencer.OnStateChange(), std::runtime_error);
  EXPECT_EQ(sequencer.PlaylistPos(), 0);
}
