// The playback controller: Play, Pause, Stop, double-click on the playlist,
// the shuffle box, and the main timer's tick that advances playback.
#pragma once

namespace vollo {

class FrmMain;

class PlaybackController {
  public:
    explicit PlaybackController(FrmMain& main);
    void bind();

    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void playList_DblClick();
    void shuffle_Click();
    void mainTimer_Timer();

  private:
    FrmMain& main_;
};

}  // namespace vollo
