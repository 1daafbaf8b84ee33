#include "playback/volume_bar.h"

#include "app/frm_main.h"

namespace vollo {

VolumeBar::VolumeBar(FrmMain& main)
    : main_(main) {}

void VolumeBar::bind() {
    main_.on("volume_MouseDown", [this](EventArgs& e) {
        volume_MouseDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)),
                         static_cast<float>(e.number(2)), static_cast<float>(e.number(3)));
    });
}

void VolumeBar::ApplyKnobVolume() {}
void VolumeBar::LiveVolume(float) {}
void VolumeBar::volume_MouseDown(int, int, float, float) {}

}  // namespace vollo
