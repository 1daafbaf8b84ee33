// The volume bar: the knob's place is the volume; presses and drops move the
// knob, drags set the volume live, and drops elsewhere re-apply the knob's volume.
#pragma once

namespace vollo {

class FrmMain;
class Control;

class VolumeBar {
  public:
    // The width of the dead zone at each end of the bar, and the attenuation
    // the bar's width spans (hundredths of a decibel).
    static constexpr float kDeadZone = 200;
    static constexpr double kSpan = 4000;
    static constexpr int kSilence = -10000;

    explicit VolumeBar(FrmMain& main);
    void bind();

    // The knob's place on the bar: 0 at its left resting place, 1 flush with the right end.
    double knobPlace() const;
    // The knob dropped on the bar where its left edge stands at that place (0 to 1).
    void dropKnobAt(double place);

    // Sets the player's volume from the knob's place and snaps the knob at the ends.
    void ApplyKnobVolume();
    // Sets the player's volume from a pointer x measured from the bar's left
    // edge, leaving the knob where it is.
    void LiveVolume(float x);
    void volume_MouseDown(int button, int shift, float x, float y);
    void volume_DragOver(Control* source, float x, float y, int state);
    void volumeTrackee_DragOver(Control* source, float x, float y, int state);
    void volume_DragDrop(Control* source, float x, float y);
    void volumeTrackee_DragDrop(Control* source, float x, float y);

  private:
    bool isKnob(const Control* source) const;

    FrmMain& main_;
};

}  // namespace vollo
