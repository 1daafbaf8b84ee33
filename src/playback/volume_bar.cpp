#include "playback/volume_bar.h"

#include <algorithm>
#include <cmath>

#include "forms/frm_main.h"
#include "platform/media_player.h"
#include "platform/text.h"

namespace vollo {

namespace {

// Drops anywhere else on the window: these re-apply the knob's volume whatever
// was dropped (the drag may have changed the volume live) ...
const char* const kDropsForEitherKnob[] = {
    "Frame1_DragDrop",      "Form_DragDrop",   "lblSongName_DragDrop",
    "lblSongTime_DragDrop", "repeat_DragDrop", "shuffle_DragDrop",
};

// ... and these only when the volume knob was dropped; a seek knob dropped
// there does nothing.
const char* const kDropsForVolumeKnob[] = {
    "cmdAdd_DragDrop",         "cmdRemove_DragDrop",    "cmdMoveToTop_DragDrop",
    "cmdMoveUp_DragDrop",      "cmdMoveDown_DragDrop",  "cmdMoveToBottom_DragDrop",
    "cmdPlay_DragDrop",        "cmdPause_DragDrop",     "cmdStop_DragDrop",
    "playList_DragDrop",       "txtFilter_DragDrop",    "visibleSongList_DragDrop",
    "hiddenSongList_DragDrop", "lblFirstTime_DragDrop", "frmMiniKeyboard_DragDrop",
};
const char* const kIndexedDropsForVolumeKnob[] = {"Label1_DragDrop", "cmdAlpha_DragDrop"};

// The attenuation for a place x from the bar's left edge, between the dead zones.
int scaledVolume(double x, double width) {
    return static_cast<int>(roundHalfEven(x / width * VolumeBar::kSpan - VolumeBar::kSpan));
}

}  // namespace

VolumeBar::VolumeBar(FrmMain& main)
    : main_(main) {}

void VolumeBar::bind() {
    main_.on("volume_MouseDown", [this](EventArgs& e) {
        volume_MouseDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)),
                         static_cast<float>(e.number(2)), static_cast<float>(e.number(3)));
    });
    main_.on("volume_DragOver", [this](EventArgs& e) {
        volume_DragOver(e.control(0), static_cast<float>(e.number(1)), static_cast<float>(e.number(2)),
                        static_cast<int>(e.number(3)));
    });
    main_.on("volumeTrackee_DragOver", [this](EventArgs& e) {
        volumeTrackee_DragOver(e.control(0), static_cast<float>(e.number(1)), static_cast<float>(e.number(2)),
                               static_cast<int>(e.number(3)));
    });
    main_.on("volume_DragDrop", [this](EventArgs& e) {
        volume_DragDrop(e.control(0), static_cast<float>(e.number(1)), static_cast<float>(e.number(2)));
    });
    main_.on("volumeTrackee_DragDrop", [this](EventArgs& e) {
        volumeTrackee_DragDrop(e.control(0), static_cast<float>(e.number(1)),
                               static_cast<float>(e.number(2)));
    });
    for (const char* name : kDropsForEitherKnob) {
        main_.on(name, [this](EventArgs&) { ApplyKnobVolume(); });
    }
    const auto volumeKnobOnly = [this](EventArgs& e) {
        if (isKnob(e.control(0))) {
            ApplyKnobVolume();
        }
    };
    for (const char* name : kDropsForVolumeKnob) {
        main_.on(name, volumeKnobOnly);
    }
    for (const char* name : kIndexedDropsForVolumeKnob) {
        main_.on(name, volumeKnobOnly, true);
    }
}

bool VolumeBar::isKnob(const Control* source) const {
    return source == &main_.volumeTrackee;
}

double VolumeBar::knobPlace() const {
    const double travel = static_cast<double>(main_.volume.width()) - main_.volumeTrackee.width();
    if (!(travel > 0)) {
        return 1;
    }
    return std::clamp((main_.volumeTrackee.left() - main_.volume.left()) / travel, 0.0, 1.0);
}

void VolumeBar::dropKnobAt(double place) {
    const double travel = static_cast<double>(main_.volume.width()) - main_.volumeTrackee.width();
    // The drop point is the knob's centre.
    const double x = std::clamp(place, 0.0, 1.0) * travel + main_.volumeTrackee.width() / 2.0;
    volume_DragDrop(&main_.volumeTrackee, static_cast<float>(x), 0);
}

void VolumeBar::ApplyKnobVolume() {
    const float barLeft = main_.volume.left();
    const float barWidth = main_.volume.width();
    const float knobLeft = main_.volumeTrackee.left();
    const float knobWidth = main_.volumeTrackee.width();
    const float loudEdge = barLeft + barWidth - kDeadZone;
    const float silentEdge = barLeft + kDeadZone;
    MediaPlayer& music = main_.music();
    if (knobLeft > loudEdge) {
        music.setVolume(0);
        main_.volumeTrackee.setLeft(barLeft + barWidth - knobWidth);
    } else if (knobLeft < silentEdge) {
        music.setVolume(kSilence);
        // The resting place is the bar's left edge, inside the silent zone, so
        // a later application keeps silence.
        main_.volumeTrackee.setLeft(barLeft);
    } else {
        const double centre = static_cast<double>(knobLeft) + knobWidth / 2.0 - barLeft;
        music.setVolume(scaledVolume(centre, barWidth));
    }
}

void VolumeBar::LiveVolume(float x) {
    const float barLeft = main_.volume.left();
    const float barWidth = main_.volume.width();
    const float knobWidth = main_.volumeTrackee.width();
    // The knob's left edge if it were centred under the pointer.
    const float knobLeft = barLeft + x - knobWidth / 2;
    MediaPlayer& music = main_.music();
    if (knobLeft > barLeft + barWidth - kDeadZone) {
        music.setVolume(0);
    } else if (knobLeft < barLeft + kDeadZone) {
        music.setVolume(kSilence);
    } else {
        music.setVolume(scaledVolume(x, barWidth));
    }
}

void VolumeBar::volume_MouseDown(int, int, float x, float) {
    // Any button: the knob is centred under the pointer, then its volume applies.
    main_.volumeTrackee.setLeft(main_.volume.left() + x - main_.volumeTrackee.width() / 2);
    ApplyKnobVolume();
}

void VolumeBar::volume_DragOver(Control* source, float x, float, int) {
    if (isKnob(source)) {
        LiveVolume(x);
    }
}

void VolumeBar::volumeTrackee_DragOver(Control* source, float x, float, int) {
    if (isKnob(source)) {
        LiveVolume(main_.volumeTrackee.left() + x - main_.volume.left());
    }
}

void VolumeBar::volume_DragDrop(Control* source, float x, float) {
    if (isKnob(source)) {
        volume_MouseDown(1, 0, x, 0);
    }
}

void VolumeBar::volumeTrackee_DragDrop(Control* source, float x, float) {
    if (isKnob(source)) {
        volume_MouseDown(1, 0, main_.volumeTrackee.left() + x - main_.volume.left(), 0);
    }
}

}  // namespace vollo
