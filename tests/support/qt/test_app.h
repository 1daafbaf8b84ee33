// The application on the Qt binding with fake services, in a temporary
// directory with a small library, for the binding's tests.
#pragma once

#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "platform/null_media_player.h"
#include "platform/qt/qt_binding.h"
#include "platform/services.h"

namespace vollo::qt::test {

// Answers questions from a queue (No when it is empty) and records every box.
class ScriptedBoxes : public MessageBoxService {
  public:
    MsgResult show(const std::string& text, MsgButtons buttons, const std::string& title) override;
    std::deque<MsgResult> answers;
    std::vector<std::string> shown;
};

// Returns the queued paths in turn; cancelled when the queue is empty.
class ScriptedDialogs : public FileDialogService {
  public:
    std::optional<std::string> open(const FileDialogRequest&) override { return next(); }
    std::optional<std::string> save(const FileDialogRequest&) override { return next(); }
    std::deque<std::string> choices;

  private:
    std::optional<std::string> next() {
        if (choices.empty()) {
            return std::nullopt;
        }
        std::string path = choices.front();
        choices.pop_front();
        return path;
    }
};

class NoPrograms : public ProgramLauncher {
  public:
    std::optional<std::string> findOnPath(const std::string&) override { return std::nullopt; }
    bool start(const std::string&) override { return false; }
};

class FixedRandom : public RandomSource {
  public:
    void seedFromTime() override {}
    double next() override { return 0.25; }
};

class RecordedEnd : public ProcessControl {
  public:
    void endProcess() override { ended = true; }
    bool ended = false;
};

// A player whose Play and Pause change its state (files still have no length).
class PausingPlayer : public NullMediaPlayer {
  public:
    void play() override { playing_ = true, paused_ = false; }
    void pause() override { paused_ = playing_; }
    void stop() override { playing_ = paused_ = false; }
    void setFileName(const std::string& path) override {
        NullMediaPlayer::setFileName(path);
        playing_ = paused_ = false;
    }
    int playState() override { return paused_ ? Paused : playing_ ? Playing : NullMediaPlayer::playState(); }

  private:
    bool playing_ = false, paused_ = false;
};

// A started program: vollo.ini names <dir>/music, which holds one empty file
// per title given (".mp3" appended).
class TestApp {
  public:
    explicit TestApp(const std::vector<std::string>& titles = {});
    ~TestApp();

    const std::string& dir() const { return dir_; }
    Application& app() { return *app_; }
    MainWindow& main() { return app_->frmMain(); }
    QtBinding& binding() { return *binding_; }
    FormWindow& window(const std::string& form = kFrmMain);
    // The widget of a control of the form, cast to W; throws when there is none of that type.
    template <class W>
    W* widget(const std::string& key, const std::string& form = kFrmMain) {
        if (W* widget = qobject_cast<W*>(window(form).widgetFor(key))) {
            return widget;
        }
        throw std::runtime_error("no widget of that type for " + key);
    }
    // Makes an empty media file <dir>/<folder>/<name>.
    void makeFile(const std::string& folder, const std::string& name);

    ScriptedBoxes boxes;
    ScriptedDialogs dialogs;
    RecordedEnd process;

  private:
    QTemporaryDir temp_;
    std::string dir_;
    PausingPlayer player_;
    NoPrograms launcher_;
    FixedRandom random_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<QtBinding> binding_;
};

}  // namespace vollo::qt::test
