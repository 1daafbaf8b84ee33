// The application: the form registry with the five windows, the
// application-wide values, and start-up. Knows no toolkit; the Qt binding and
// the scenario runner both drive it through the same handlers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/form_registry.h"
#include "platform/media_player.h"

namespace vollo {

class FrmMain;
class FrmOptions;
class FrmSearch;
class FrmBrowse;
class FrmAbout;

class Application {
  public:
    // startDirectory: where "vollo.ini" and "options.ini" live (absolute).
    Application(Services services, std::string startDirectory);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    FormRegistry& forms() { return forms_; }
    Services& services() { return forms_.services(); }
    MediaPlayer& music() { return *forms_.services().music; }

    // Each touch creates the window hidden (with its load step) when absent.
    FrmMain& frmMain();
    FrmOptions& frmOptions();
    FrmSearch& frmSearch();
    FrmBrowse& frmBrowse();
    FrmAbout& frmAbout();

    // Starts the program as `vollo ARG...` would: creates the main window,
    // runs its load step and shows it.
    void start(const std::vector<std::string>& arguments);
    // The media file named on the command line ("" when none).
    const std::string& commandLineFile() const { return commandLineFile_; }
    bool hasCommandLineFile() const { return hasCommandLineFile_; }

    // A settings file's path in the start-up directory.
    std::string settingsPath(const std::string& fileName) const;
    const std::string& startDirectory() const { return startDirectory_; }

    // Application-wide values.
    bool confirmExit = false;
    std::int16_t listFontSize = 0;

    MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK,
                     const std::string& title = "Vollo") {
        return forms_.msgBox(text, buttons, title);
    }

  private:
    FormRegistry forms_;
    std::string startDirectory_;
    std::string commandLineFile_;
    bool hasCommandLineFile_ = false;
};

// Names of the windows in the registry.
inline constexpr const char* kFrmMain = "frmMain";
inline constexpr const char* kFrmOptions = "frmOptions";
inline constexpr const char* kFrmSearch = "frmSearch";
inline constexpr const char* kFrmBrowse = "frmBrowse";
inline constexpr const char* kFrmAbout = "frmAbout";

}  // namespace vollo
