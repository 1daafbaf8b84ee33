#include "playback/playback_controller.h"

#include <algorithm>
#include <optional>

#include "forms/frm_main.h"
#include "platform/media_player.h"
#include "playback/shuffle_draw.h"
#include "playback/time_text.h"
#include "playback/volume_bar.h"

namespace vollo {

namespace {

// Play, the double-click and the tick skip a step that fails and go on with
// the next. Only the steps that can fail are wrapped: the player's calls (and
// the random source's), and reading a list by index; a fault anywhere else
// reaches the dispatcher. True when the step ran to its end.
template <class Step>
bool ignoreErrors(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

// Whether a condition on the player or a list holds; one that cannot be
// evaluated does not.
template <class Test>
bool holds(Test&& test) noexcept {
    try {
        return test();
    } catch (...) {
        return false;
    }
}

}  // namespace

PlaybackController::PlaybackController(FrmMain& main, VolumeBar& volumeBar)
    : main_(main),
      volumeBar_(volumeBar) {}

void PlaybackController::bind() {
    main_.on("cmdPlay_Click", [this](EventArgs&) { cmdPlay_Click(); });
    main_.on("cmdPause_Click", [this](EventArgs&) { cmdPause_Click(); });
    main_.on("cmdStop_Click", [this](EventArgs&) { cmdStop_Click(); });
    main_.on("playList_DblClick", [this](EventArgs&) { playList_DblClick(); });
    main_.on("shuffle_Click", [this](EventArgs&) { shuffle_Click(); });
    main_.playList.enterActivates = true;
    // What the window shows of the playback state beyond the labels.
    main_.playList.boldRow = [this] { return main_.currentSong; };
    main_.cmdPause.shownDown = [this] { return music().playState() == 1; };
}

MediaPlayer& PlaybackController::music() {
    return main_.music();
}

void PlaybackController::cmdPlay_Click() {
    if (!holds([&] { return !music().fileName().empty(); })) {
        return;
    }
    main_.userStopped = false;
    ignoreErrors([&] { music().play(); });
    failedStarts_ = 0;
}

void PlaybackController::cmdPause_Click() {
    if (music().playState() == MediaPlayer::Playing) {
        music().pause();
    }
}

void PlaybackController::cmdStop_Click() {
    main_.userStopped = true;
    music().stop();
    music().setCurrentPositionSeconds(0);
}

void PlaybackController::playList_DblClick() {
    const int count = main_.playList.listCount();
    for (int i = 0; i < count; ++i) {
        if (holds([&] { return main_.playList.selected(i); })) {
            playEntry(i);
            if (main_.shuffle.value() == 1) {
                main_.shuffleHistory.clear();
            }
        }
    }
}

void PlaybackController::playEntry(std::int32_t i) {
    main_.userStopped = false;
    main_.currentSong = i;
    openEntry(i);
    ignoreErrors([&] { music().play(); });
    ignoreErrors([&] { volumeBar_.ApplyKnobVolume(); });
    failedStarts_ = 0;
}

void PlaybackController::next() {
    if (main_.playList.listCount() < 1) {
        return;
    }
    // Asked for by the user, so playback goes on even after Stop.
    main_.userStopped = false;
    advance();
}

void PlaybackController::previous() {
    const std::int32_t count = main_.playList.listCount();
    if (count < 1) {
        return;
    }
    playEntry(std::clamp(main_.currentSong - 1, 0, count - 1));
}

void PlaybackController::shuffle_Click() {
    if (main_.shuffle.value() != 1) {
        return;  // switching shuffle off keeps the history
    }
    main_.shuffleHistory.clear();
    if (!music().fileName().empty() && music().playState() == MediaPlayer::Playing) {
        // The playing entry counts as played in the new pass; with no entry
        // loaded (a playlist was opened meanwhile) nothing is recorded.
        main_.shuffleHistory.record(main_.currentSong);
    }
}

void PlaybackController::openEntry(std::int32_t i) {
    ignoreErrors([&] { music().setFileName(main_.playListInfo.list(i)); });
    std::string title;
    if (ignoreErrors([&] { title = main_.playList.list(i); })) {
        main_.lblSongName.setCaption(title + " ");
    }
    double duration = 0;
    if (ignoreErrors([&] { duration = music().durationSeconds(); })) {
        main_.lblSongTime.setCaption("0:00 / " + timeText(duration) + " ");
    }
}

void PlaybackController::startOpened() {
    ignoreErrors([&] { music().play(); });
    ignoreErrors([&] { volumeBar_.ApplyKnobVolume(); });
    checkStarted();
}

void PlaybackController::checkStarted() {
    int state = MediaPlayer::Stopped;
    if (!ignoreErrors([&] { state = music().playState(); })) {
        return;
    }
    if (state != MediaPlayer::Stopped) {
        failedStarts_ = 0;
        return;
    }
    ++failedStarts_;
    if (failedStarts_ >= main_.playList.listCount()) {
        // A whole round found nothing playable: stop instead of cycling for ever.
        failedStarts_ = 0;
        ignoreErrors([&] { cmdStop_Click(); });
    }
}

void PlaybackController::mainTimer_Timer() {
    // The position and the length, asked of the player once a tick: asking
    // again within the tick only costs a query of the playing stream.
    std::optional<double> position;
    std::optional<double> duration;
    ignoreErrors([&] { position = music().currentPositionSeconds(); });
    ignoreErrors([&] { duration = music().durationSeconds(); });

    // 1. The running time, while the position is above 0.
    if (position && *position > 0 && duration) {
        main_.lblSongTime.setCaption(songTimeText(*position, *duration));
    }

    // 2. The seek knob, for a file with a known length.
    if (duration && *duration >= 1 && position) {
        const double left =
            *position / *duration * (static_cast<double>(main_.tracker.width()) - main_.trackee.width()) +
            main_.tracker.left();
        main_.trackee.setLeft(static_cast<float>(left));
    }

    // 3. First start: nothing was ever opened and the playlist has an entry.
    if (main_.currentSong == -1 && main_.playList.listCount() >= 1 &&
        holds([&] { return music().playState() == MediaPlayer::NothingOpened; })) {
        openEntry(0);
        ignoreErrors([&] { music().play(); });
        ignoreErrors([&] { volumeBar_.ApplyKnobVolume(); });
        main_.currentSong = 0;
        checkStarted();
    }

    // 4. End of song: the player has stopped by itself.
    if (!main_.userStopped && main_.playList.listCount() >= 1 &&
        holds([&] { return music().playState() == MediaPlayer::Stopped; })) {
        advance();
    }
}

void PlaybackController::advance() {
    if (main_.shuffle.value() == 0) {
        sequentialRule();
    } else {
        shuffledRule();
    }
}

void PlaybackController::sequentialRule() {
    const int count = main_.playList.listCount();
    if (main_.currentSong < count - 1) {
        ++main_.currentSong;
        openEntry(main_.currentSong);
        startOpened();
        return;
    }
    // The last entry has ended (or currentSong points past the end).
    main_.currentSong = 0;
    openEntry(0);
    if (main_.repeat.value() == 1) {
        startOpened();
    } else {
        ignoreErrors([&] { music().stop(); });
        main_.userStopped = true;
        ignoreErrors([&] { volumeBar_.ApplyKnobVolume(); });
        failedStarts_ = 0;
    }
}

void PlaybackController::shuffledRule() {
    RandomSource* random = main_.context().services().random;
    if (!random) {
        return;
    }
    ignoreErrors([&] { random->seedFromTime(); });
    const std::int32_t count = main_.playList.listCount();
    ShuffleHistory& history = main_.shuffleHistory;
    if (history.size() >= static_cast<std::size_t>(count)) {
        // Every entry has been played in this pass.
        history.clear();
        if (main_.repeat.value() != 1) {
            ignoreErrors([&] { music().stop(); });
            main_.userStopped = true;
            failedStarts_ = 0;
            return;  // the song that has just ended stays loaded
        }
    }
    std::int32_t k = -1;
    ignoreErrors([&] { k = drawUnplayed(history, count, *random); });
    if (k < 0) {
        return;
    }
    history.record(k);
    main_.currentSong = k;
    openEntry(k);
    startOpened();
}

}  // namespace vollo
