#include "playback/seek_bar.h"

#include "forms/frm_main.h"
#include "platform/media_player.h"
#include "playback/volume_bar.h"

namespace vollo {

SeekBar::SeekBar(FrmMain& main, VolumeBar& volumeBar)
    : main_(main),
      volumeBar_(volumeBar) {}

void SeekBar::bind() {
    main_.on("tracker_MouseDown", [this](EventArgs& e) {
        tracker_MouseDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)),
                          static_cast<float>(e.number(2)), static_cast<float>(e.number(3)));
    });
    main_.on("tracker_DragDrop", [this](EventArgs& e) {
        tracker_DragDrop(e.control(0), static_cast<float>(e.number(1)), static_cast<float>(e.number(2)));
    });
    main_.on("trackee_DragDrop", [this](EventArgs& e) {
        trackee_DragDrop(e.control(0), static_cast<float>(e.number(1)), static_cast<float>(e.number(2)));
    });
}

double SeekBar::positionAt(float x) {
    // The knob's left edge if it were centred under the pointer, from the track's left edge.
    const float knobLeft = x - main_.trackee.width() / 2;
    const double travel = static_cast<double>(main_.tracker.width()) - main_.trackee.width();
    const double duration = main_.music().durationSeconds();
    if (!(travel > 0)) {
        return 0;
    }
    const double p = duration * (knobLeft / travel);
    // No upper clamp: a press at the right end asks for a little past the end.
    return p > 0 ? p : 0;
}

void SeekBar::seekTo(double seconds) {
    main_.music().setCurrentPositionSeconds(seconds > 0 ? seconds : 0);
}

void SeekBar::tracker_MouseDown(int, int, float x, float) {
    // Any button seeks; the knob follows at the next tick.
    seekTo(positionAt(x));
}

void SeekBar::tracker_DragDrop(Control* source, float x, float) {
    if (source == &main_.trackee) {
        tracker_MouseDown(1, 0, x, 0);
    } else if (source == &main_.volumeTrackee) {
        volumeBar_.ApplyKnobVolume();
    }
}

void SeekBar::trackee_DragDrop(Control* source, float x, float) {
    if (source == &main_.trackee) {
        // The drop point in the track's coordinates.
        tracker_MouseDown(1, 0, main_.trackee.left() + x - main_.tracker.left(), 0);
    } else if (source == &main_.volumeTrackee) {
        volumeBar_.ApplyKnobVolume();
    }
}

}  // namespace vollo
