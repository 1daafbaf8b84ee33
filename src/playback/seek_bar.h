// The seek bar: a press on the track, or the knob dropped on the track or on
// its own place, sets the player's position; the next tick moves the knob.
#pragma once

namespace vollo {

class FrmMain;
class Control;
class VolumeBar;

class SeekBar {
  public:
    SeekBar(FrmMain& main, VolumeBar& volumeBar);
    void bind();

    void tracker_MouseDown(int button, int shift, float x, float y);
    void tracker_DragDrop(Control* source, float x, float y);
    void trackee_DragDrop(Control* source, float x, float y);

    // Sets the player's position as a press does: before the start is the
    // start; past the end is passed on unchanged.
    void seekTo(double seconds);

    // The position a press at x (track coordinates) seeks to, in seconds.
    double positionAt(float x);

  private:
    FrmMain& main_;
    VolumeBar& volumeBar_;
};

}  // namespace vollo
