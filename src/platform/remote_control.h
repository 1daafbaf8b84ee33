// Remote control of playback, as media keys and the desktop's now-playing
// controls ask for it: a snapshot of what a remote shows and the actions it
// may request. The desktop's protocol is spoken on the toolkit's side; the
// application implements this interface by running the main window's own
// handlers through the dispatcher, so a remote action never interleaves with
// a handler.
#pragma once

#include <string>

namespace vollo {

struct RemoteState {
    enum class Status { Stopped, Paused, Playing };
    Status status = Status::Stopped;
    bool repeat = false;
    bool shuffle = false;
    // The volume knob's place on its bar: 0 at the left end, 1 at the right.
    double volume = 1;
    double positionSeconds = 0;
    double lengthSeconds = 0;  // 0 while no length is known
    // The playlist entry loaded into the player; -1 when the loaded file is
    // no entry of the playlist (or nothing is loaded).
    int entry = -1;
    std::string title;  // the loaded song's title, "" when none is loaded
    std::string path;   // its file
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    // Equal in everything a remote is told of when it changes (all but the position).
    bool sameExceptPosition(const RemoteState& other) const {
        RemoteState a = *this;
        a.positionSeconds = other.positionSeconds;
        return a == other;
    }
    bool operator==(const RemoteState&) const = default;
};

// What became of a request.
enum class RemoteOutcome {
    Done,
    Busy,         // another handler runs (a message box is open): nothing was done
    Unsupported,  // not a playable local file, or the program has ended
};

class RemoteControl {
  public:
    enum class Action { Play, Pause, PlayPause, Stop, Next, Previous, Raise, Quit };

    virtual ~RemoteControl() = default;

    virtual RemoteState state() = 0;
    // True while a handler runs (a message box waits for an answer): every
    // request is then refused with Busy.
    virtual bool busy() = 0;
    virtual RemoteOutcome act(Action action) = 0;
    // Moves the song by an offset from where it stands, or to a position.
    virtual RemoteOutcome seekBy(double seconds) = 0;
    virtual RemoteOutcome setPosition(double seconds) = 0;
    // A place of the volume knob, 0 to 1.
    virtual RemoteOutcome setVolume(double place) = 0;
    virtual RemoteOutcome setRepeat(bool on) = 0;
    virtual RemoteOutcome setShuffle(bool on) = 0;
    // Appends a playable local file to the playlist as the command line would.
    virtual RemoteOutcome openFile(const std::string& path) = 0;
};

}  // namespace vollo
