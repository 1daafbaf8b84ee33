// The main window as the program runs it: its controls (FrmMain) and the
// subsystems that own its handlers, wired to each other here; start-up,
// shut-down, the View filter toggle, and the timer's tick as a list of the
// steps the subsystems contribute.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/frm_main.h"

namespace vollo {

class Application;
class LibraryFilter;
class LibraryActivation;
class MiniKeyboard;
class PlaylistEditor;
class PlaylistFiles;
class PlaylistSort;
class PlaybackController;
class SeekBar;
class VolumeBar;

class MainWindow : public FrmMain {
  public:
    MainWindow(FormRegistry& registry, Application& app);
    ~MainWindow() override;

    LibraryActivation& libraryActivation() { return *libraryActivation_; }
    PlaybackController& playback() { return *playback_; }
    VolumeBar& volumeBar() { return *volumeBar_; }
    SeekBar& seekBar() { return *seekBar_; }

    void Form_Load();
    void mnuExit_Click();
    void Form_Unload(int& cancel);
    void SaveWindowState();
    void mnuShowFilter_Click();
    void mnuOptions_Click();
    void mainTimer_Timer();

  private:
    void bindShell();

    Application& app_;
    std::unique_ptr<VolumeBar> volumeBar_;
    std::unique_ptr<SeekBar> seekBar_;
    std::unique_ptr<PlaybackController> playback_;
    std::unique_ptr<LibraryActivation> libraryActivation_;
    std::unique_ptr<LibraryFilter> libraryFilter_;
    std::unique_ptr<MiniKeyboard> miniKeyboard_;
    std::unique_ptr<PlaylistFiles> playlistFiles_;
    std::unique_ptr<PlaylistEditor> playlistEditor_;
    std::unique_ptr<PlaylistSort> playlistSort_;
    // What each tick does, in order.
    std::vector<std::function<void()>> tickSteps_;
};

}  // namespace vollo
