// Start-up, shut-down, the View filter toggle and the timer of the main
// window, and the wiring of its subsystems.
#include "app/main_window.h"

#include "about/frm_about.h"
#include "app/application.h"
#include "library/frm_search.h"
#include "library/library_activation.h"
#include "library/library_filter.h"
#include "library/library_scan.h"
#include "library/mini_keyboard.h"
#include "playback/playback_controller.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_sort.h"
#include "settings/frm_options.h"
#include "settings/list_font_size.h"
#include "settings/media_dirs.h"
#include "settings/window_state.h"

namespace vollo {

MainWindow::MainWindow(FormRegistry& registry, Application& app)
    : FrmMain(registry, app),
      app_(app) {
    volumeBar_ = std::make_unique<VolumeBar>(*this);
    seekBar_ = std::make_unique<SeekBar>(*this, *volumeBar_);
    playback_ = std::make_unique<PlaybackController>(*this, *volumeBar_);
    libraryActivation_ = std::make_unique<LibraryActivation>(*this);
    // Add under shuffle starts a new pass, as a click on the shuffle box would.
    libraryActivation_->startShufflePass = [this] { playback_->shuffle_Click(); };
    libraryFilter_ = std::make_unique<LibraryFilter>(*this, *libraryActivation_);
    miniKeyboard_ = std::make_unique<MiniKeyboard>(*this);
    playlistFiles_ = std::make_unique<PlaylistFiles>(*this);
    playlistEditor_ = std::make_unique<PlaylistEditor>(*this, *playlistFiles_);
    playlistSort_ = std::make_unique<PlaylistSort>(*this);
    tickSteps_ = {
        [this] { showFirstTimeHint(*this); },
        [this] { playlistEditor_->updateEditButtons(); },
        [this] { libraryActivation_->updateAddButton(); },
        [this] { playback_->mainTimer_Timer(); },
    };

    bindShell();
    libraryFilter_->bind();
    libraryActivation_->bind();
    miniKeyboard_->bind();
    playlistEditor_->bind();
    playlistFiles_->bind();
    playlistSort_->bind();
    playback_->bind();
    seekBar_->bind();
    volumeBar_->bind();
    bindSearchMenu(app_, *this);
    bindAboutMenu(app_, *this);
}

MainWindow::~MainWindow() = default;

void MainWindow::bindShell() {
    on("Form_Load", [this](EventArgs&) { Form_Load(); });
    on("mnuExit_Click", [this](EventArgs&) { mnuExit_Click(); });
    on("Form_Unload", [this](EventArgs& e) { Form_Unload(e.cancel); });
    on("mnuShowFilter_Click", [this](EventArgs&) { mnuShowFilter_Click(); });
    on("mnuOptions_Click", [this](EventArgs&) { mnuOptions_Click(); });
    on("mainTimer_Timer", [this](EventArgs&) { mainTimer_Timer(); });
}

void MainWindow::Form_Load() {
    // 1-2. The window state (creates the three dialogs hidden).
    const RestoredViewLines views = restoreWindowState(app_);
    // A View toggle flips its mark and its controls together: run twice, it
    // leaves the mark as read and the controls following it.
    if (views.filter) {
        mnuShowFilter_Click();
        mnuShowFilter_Click();
    }
    if (views.keyboard) {
        miniKeyboard_->mnuKeyboard_Click();
        miniKeyboard_->mnuKeyboard_Click();
    }

    // 3. The list font size from the options dialog's box.
    if (!applyListFontSize(app_, app_.frmOptions().txtFontSize.text())) {
        return;  // no command line, no scan; currentSong keeps 0
    }

    // 4. A media file named on the command line.
    if (app_.hasCommandLineFile()) {
        const std::string& p = app_.commandLineFile();
        if (p.size() >= 4 && p[p.size() - 4] == '.') {
            // A name shorter than four bytes (the last "/" among the last
            // four) gives no title: nothing is added.
            const size_t slash = p.rfind('/');
            if (slash != std::string::npos && p.size() - (slash + 1) >= 4) {
                appendToPlaylist(p.substr(slash + 1, p.size() - 4 - (slash + 1)), p);
            }
        }
    }

    // 5. The playback variables.
    currentSong = -1;
    userStopped = false;
    app_.confirmExit = false;
    shuffleHistory.clear();

    // 6-7. The media directories and the library.
    const auto lines = readMediaDirLines(app_.settingsPath(kSettingsFileName), 101);
    std::fill(mediaDirs.begin(), mediaDirs.end(), std::string());
    std::copy(lines.begin(), lines.end(), mediaDirs.begin());
    scanLibraryAtStartup(*this, leadingDirectories(mediaDirs));
    // The hint agrees with the library from the first moment on, not only from the first tick.
    showFirstTimeHint(*this);
}

void MainWindow::mnuExit_Click() {
    if (app_.confirmExit &&
        app_.msgBox("Are you sure you wish to exit?", MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        return;
    }
    SaveWindowState();
    registry().endProcess();
}

void MainWindow::Form_Unload(int& cancel) {
    if (app_.confirmExit &&
        app_.msgBox("Are you sure you wish to exit?", MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        cancel = 1;
        return;
    }
    SaveWindowState();
    registry().endProcess();
}

void MainWindow::SaveWindowState() {
    // A file that cannot be written does not stop the exit.
    saveWindowState(app_);
}

void MainWindow::mnuShowFilter_Click() {
    if (mnuShowFilter.checked()) {
        mnuShowFilter.setChecked(false);
        lblFilter.setVisible(false);
        txtFilter.setVisible(false);
        cmdAdd.setLeft(visibleSongList.left());
        cmdAdd.setWidth(5175 - cmdAdd.left());
    } else {
        mnuShowFilter.setChecked(true);
        lblFilter.setVisible(true);
        txtFilter.setVisible(true);
        cmdAdd.setLeft(3960);
        cmdAdd.setWidth(1215);
    }
}

void MainWindow::mnuOptions_Click() {
    FrmOptions& options = app_.frmOptions();
    options.show();
    options.bringToFront();
}

void MainWindow::mainTimer_Timer() {
    for (const auto& step : tickSteps_) {
        step();
    }
}

}  // namespace vollo
