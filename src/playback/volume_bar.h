// The volume bar: the knob's place is the volume; presses and drops move the
// knob, drags set the volume live, and drops elsewhere re-apply the knob's volume.
#pragma once

namespace vollo {

class FrmMain;
class Control;

class VolumeBar {
  public:
    explicit VolumeBar(FrmMain& main);
    void bind();

    void ApplyKnobVolume();
    void LiveVolume(float x);
    void volume_MouseDown(int button, int shift, float x, float y);

  private:
    FrmMain& main_;
};

}  // namespace vollo
