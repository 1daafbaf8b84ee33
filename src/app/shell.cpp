// Start-up, shut-down and the View filter toggle of the main window.
#include <cmath>

#include "app/frm_main.h"
#include "library/library_scan.h"
#include "platform/text.h"
#include "settings/frm_options.h"
#include "settings/media_dirs.h"
#include "settings/window_state.h"

namespace vollo {

namespace {

const char* const kInvalidFontSize = "Invalid font size.\r\n\r\nFont size must be between 4 and 72.";

}  // namespace

void FrmMain::bindShell() {
    on("Form_Load", [this](EventArgs&) { Form_Load(); });
    on("mnuExit_Click", [this](EventArgs&) { mnuExit_Click(); });
    on("Form_Unload", [this](EventArgs& e) { Form_Unload(e.cancel); });
    on("mnuShowFilter_Click", [this](EventArgs&) { mnuShowFilter_Click(); });
    on("mnuOptions_Click", [this](EventArgs&) { mnuOptions_Click(); });
}

void FrmMain::Form_Load() {
    // 1-2. The window state (creates the three dialogs hidden).
    restoreWindowState(app_);

    // 3. The list font size from the options dialog's box.
    if (!applyListFontSize(app_.frmOptions().txtFontSize.text())) {
        return;  // no command line, no scan; currentSong keeps 0
    }

    // 4. A media file named on the command line.
    if (app_.hasCommandLineFile()) {
        const std::string& p = app_.commandLineFile();
        if (p.size() >= 4 && p[p.size() - 4] == '.') {
            const size_t slash = p.rfind('/');
            if (slash != std::string::npos) {
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
    lblFirstTime.setVisible(hiddenSongList.listCount() < 1);
}

bool FrmMain::applyListFontSize(const std::string& fontText) {
    const double size = numericPrefix(fontText);
    if (size < 4 || size > 72) {
        app_.msgBox(kInvalidFontSize);
        return false;
    }
    // A text that is not one number as a whole ("12abc") changes nothing.
    if (isWholeNumber(fontText)) {
        const auto points = static_cast<float>(size);
        visibleSongList.setFontSize(points);
        hiddenSongList.setFontSize(points);
        setFontSize(points);
        playList.setFontSize(points);
        app_.listFontSize = static_cast<std::int16_t>(roundHalfEven(size));
        // A font change alters a list's height: back to the layout's.
        visibleSongList.setHeight(5310);
        hiddenSongList.setHeight(5310);
        playList.setHeight(5310);
    }
    return true;
}

void FrmMain::mnuExit_Click() {
    if (app_.confirmExit &&
        app_.msgBox("Are you sure you wish to exit?", MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        return;
    }
    SaveWindowState();
    registry().endProcess();
}

void FrmMain::Form_Unload(int& cancel) {
    if (app_.confirmExit &&
        app_.msgBox("Are you sure you wish to exit?", MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        cancel = 1;
        return;
    }
    SaveWindowState();
    registry().endProcess();
}

void FrmMain::SaveWindowState() {
    // A file that cannot be written does not stop the exit.
    saveWindowState(app_);
}

void FrmMain::mnuShowFilter_Click() {
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

void FrmMain::mnuOptions_Click() {
    FrmOptions& options = app_.frmOptions();
    options.show();
    options.bringToFront();
}

}  // namespace vollo
