// The application: the five windows declared in the form registry, the
// subsystems wired to the main window, and start-up. Knows no toolkit; the Qt
// binding and the scenario runner both drive it through the same handlers.
#pragma once

#include <string>
#include <vector>

#include "forms/app_context.h"

namespace vollo {

class MainWindow;
class FrmOptions;
class FrmSearch;
class FrmBrowse;
class FrmAbout;

class Application : public AppContext {
  public:
    // startDirectory: where "vollo.ini" and "options.ini" live (absolute).
    Application(Services services, std::string startDirectory);
    ~Application();

    // Each touch creates the window hidden (with its load step) when absent.
    MainWindow& frmMain();
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

  private:
    std::string commandLineFile_;
    bool hasCommandLineFile_ = false;
};

}  // namespace vollo
