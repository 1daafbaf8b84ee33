// The playback controller: Play, Pause, Stop, double-click on the playlist,
// the shuffle box, and the main timer's tick that advances playback.
#pragma once

#include <cstdint>

namespace vollo {

class FrmMain;
class MediaPlayer;
class VolumeBar;

class PlaybackController {
  public:
    PlaybackController(FrmMain& main, VolumeBar& volumeBar);
    void bind();

    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void playList_DblClick();
    void shuffle_Click();
    // The timer's playback step: the running time, the seek knob, the first
    // start and the next entry once a song has ended.
    void mainTimer_Timer();

    // Loads playlist entry i into the player and shows its title and length.
    void openEntry(std::int32_t i);
    // Opens entry i and plays it, as a double-click on it does.
    void playEntry(std::int32_t i);
    // Moves on as the tick does when the loaded song has ended (in order or
    // shuffled, repeat honoured), and playback goes on from there.
    void next();
    // Plays the entry before the current one; the first entry starts again.
    void previous();

  private:
    MediaPlayer& music();
    // The end-of-song step: the sequential or the shuffled rule.
    void advance();
    // The next entry in list order; after the last, entry 0 again (played
    // with repeat, stopped without).
    void sequentialRule();
    // The next entry drawn at random among those not yet played in this pass.
    void shuffledRule();
    // Play and the knob's volume for an entry just opened, then the check below.
    void startOpened();
    // Counts a start that left the player stopped at once; a whole round of
    // such starts stops playback as the Stop button does.
    void checkStarted();

    FrmMain& main_;
    VolumeBar& volumeBar_;
    // The starts in a row by the timer that found the player stopped again at once.
    int failedStarts_ = 0;
};

}  // namespace vollo
