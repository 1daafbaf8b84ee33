#include "app/remote.h"

#include <algorithm>

#include "app/application.h"
#include "app/main_window.h"
#include "library/dropped_files.h"
#include "platform/media_player.h"
#include "playback/playback_controller.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"

namespace vollo {

ApplicationRemote::ApplicationRemote(Application& app)
    : app_(app) {}

bool ApplicationRemote::busy() {
    return app_.forms().busy();
}

template <class Step>
RemoteOutcome ApplicationRemote::run(Step&& step) {
    FormRegistry& forms = app_.forms();
    if (forms.ended() || !forms.isLoaded(kFrmMain)) {
        return RemoteOutcome::Unsupported;
    }
    if (forms.busy()) {
        return RemoteOutcome::Busy;
    }
    MainWindow& main = app_.frmMain();
    forms.dispatch([&] { step(main); });
    return RemoteOutcome::Done;
}

RemoteState ApplicationRemote::state() {
    RemoteState state;
    if (!app_.forms().isLoaded(kFrmMain)) {
        return state;
    }
    MainWindow& main = app_.frmMain();
    MediaPlayer& music = main.music();
    const int playState = music.playState();
    state.status = playState == MediaPlayer::Playing ? RemoteState::Status::Playing
                   : playState == MediaPlayer::Stopped || playState == MediaPlayer::NothingOpened
                       ? RemoteState::Status::Stopped
                       : RemoteState::Status::Paused;
    // The boxes as the timer's rules read them.
    state.repeat = main.repeat.value() == 1;
    state.shuffle = main.shuffle.value() != 0;
    state.volume = main.volumeBar().knobPlace();
    state.path = music.fileName();
    state.positionSeconds = music.currentPositionSeconds();
    state.lengthSeconds = std::max(music.durationSeconds(), 0.0);

    const int count = main.playList.listCount();
    if (!state.path.empty()) {
        if (main.currentSong >= 0 && main.currentSong < count &&
            main.playListInfo.list(main.currentSong) == state.path) {
            state.entry = main.currentSong;
            state.title = main.playList.list(main.currentSong);
        } else {
            // A playlist opened since: the song plays on under the name it was opened with.
            const std::string& shown = main.lblSongName.caption();
            state.title = shown.empty() || shown.back() != ' ' ? shown : shown.substr(0, shown.size() - 1);
        }
    }
    // Under shuffle without repeat, once the pass is complete Next only stops.
    const bool passOver =
        state.shuffle && !state.repeat && main.shuffleHistory.size() >= static_cast<size_t>(count);
    state.canGoNext = count >= 1 && !passOver;
    state.canGoPrevious = count >= 1;
    state.canPlay = !state.path.empty() || count >= 1;
    state.canPause = !state.path.empty();
    state.canSeek = state.lengthSeconds > 0;
    return state;
}

RemoteOutcome ApplicationRemote::act(Action action) {
    return run([action](MainWindow& main) {
        switch (action) {
            case Action::Play:
                main.cmdPlay.click();
                break;
            case Action::Pause:
                main.cmdPause.click();
                break;
            case Action::PlayPause:
                (main.music().playState() == MediaPlayer::Playing ? main.cmdPause : main.cmdPlay).click();
                break;
            case Action::Stop:
                main.cmdStop.click();
                break;
            case Action::Next:
                main.playback().next();
                break;
            case Action::Previous:
                main.playback().previous();
                break;
            case Action::Raise:
                main.show();
                main.bringToFront();
                break;
            case Action::Quit:
                main.mnuExit.click();
                break;
        }
    });
}

RemoteOutcome ApplicationRemote::seekBy(double seconds) {
    return run([seconds](MainWindow& main) {
        main.seekBar().seekTo(main.music().currentPositionSeconds() + seconds);
    });
}

RemoteOutcome ApplicationRemote::setPosition(double seconds) {
    return run([seconds](MainWindow& main) { main.seekBar().seekTo(seconds); });
}

RemoteOutcome ApplicationRemote::setVolume(double place) {
    return run([place](MainWindow& main) { main.volumeBar().dropKnobAt(place); });
}

RemoteOutcome ApplicationRemote::setRepeat(bool on) {
    return run([on](MainWindow& main) { main.repeat.setValue(on ? 1 : 0); });
}

RemoteOutcome ApplicationRemote::setShuffle(bool on) {
    return run([on](MainWindow& main) { main.shuffle.setValue(on ? 1 : 0); });
}

RemoteOutcome ApplicationRemote::openFile(const std::string& path) {
    if (!isPlayableFile(path)) {
        return RemoteOutcome::Unsupported;
    }
    return run([&path](MainWindow& main) { appendDroppedFiles(main, {path}); });
}

}  // namespace vollo
