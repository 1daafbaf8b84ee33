#include "playback/seek_bar.h"

#include "app/frm_main.h"

namespace vollo {

SeekBar::SeekBar(FrmMain& main)
    : main_(main) {}

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

void SeekBar::tracker_MouseDown(int, int, float, float) {}
void SeekBar::tracker_DragDrop(Control*, float, float) {}
void SeekBar::trackee_DragDrop(Control*, float, float) {}

}  // namespace vollo
