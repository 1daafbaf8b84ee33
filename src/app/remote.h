// The remote control of the application: media keys and the desktop's player
// controls act through the main window's own handlers, each request one
// event through the dispatcher.
#pragma once

#include "platform/remote_control.h"

namespace vollo {

class Application;

class ApplicationRemote : public RemoteControl {
  public:
    explicit ApplicationRemote(Application& app);

    RemoteState state() override;
    bool busy() override;
    // Play, Pause and Stop are their buttons; PlayPause is Pause while a song
    // plays and Play otherwise; Next moves on as the timer does when a song
    // ends; Previous plays the entry before the current one (entry 0 again
    // from entry 0); Raise brings the main window to the front; Quit is
    // File -> Exit, its question included.
    RemoteOutcome act(Action action) override;
    // As the seek bar: a place before the start is the start; one past the end
    // is passed on, so the song ends and the timer moves on.
    RemoteOutcome seekBy(double seconds) override;
    RemoteOutcome setPosition(double seconds) override;
    // The volume knob dropped at that place of its bar.
    RemoteOutcome setVolume(double place) override;
    // The Repeat and Shuffle boxes clicked when their value changes.
    RemoteOutcome setRepeat(bool on) override;
    RemoteOutcome setShuffle(bool on) override;
    // The file appended to the playlist as a dropped file is; Unsupported for
    // anything but an ordinary file with a playable extension.
    RemoteOutcome openFile(const std::string& path) override;

  private:
    template <class Step>
    RemoteOutcome run(Step&& step);

    Application& app_;
};

}  // namespace vollo
