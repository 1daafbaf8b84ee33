#include "app/application.h"

#include "about/frm_about.h"
#include "app/main_window.h"
#include "library/frm_search.h"
#include "library/library_scan.h"
#include "platform/files.h"
#include "settings/frm_browse.h"
#include "settings/frm_options.h"

namespace vollo {

Application::Application(Services services, std::string startDirectory)
    : AppContext(services, std::move(startDirectory)) {
    FormRegistry& registry = forms();
    registry.declare(kFrmMain, [this](FormRegistry& r) { return std::make_unique<MainWindow>(r, *this); });
    registry.declare(kFrmOptions, [this](FormRegistry& r) {
        auto options = std::make_unique<FrmOptions>(r, *this);
        options->rescanLibrary = [this](const std::vector<std::string>& dirs) {
            rescanLibrary(frmMain(), dirs);
        };
        return options;
    });
    registry.declare(kFrmSearch, [this](FormRegistry& r) { return std::make_unique<FrmSearch>(r, *this); });
    registry.declare(kFrmBrowse, [this](FormRegistry& r) { return std::make_unique<FrmBrowse>(r, *this); });
    registry.declare(kFrmAbout, [this](FormRegistry& r) { return std::make_unique<FrmAbout>(r, *this); });
}

Application::~Application() = default;

MainWindow& Application::frmMain() {
    return touch<MainWindow>(kFrmMain);
}
FrmOptions& Application::frmOptions() {
    return touch<FrmOptions>(kFrmOptions);
}
FrmSearch& Application::frmSearch() {
    return touch<FrmSearch>(kFrmSearch);
}
FrmBrowse& Application::frmBrowse() {
    return touch<FrmBrowse>(kFrmBrowse);
}
FrmAbout& Application::frmAbout() {
    return touch<FrmAbout>(kFrmAbout);
}

void Application::start(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && !arguments.front().empty()) {
        // The shell has removed any quotes; a relative path is made absolute.
        commandLineFile_ = absolutePath(arguments.front());
        hasCommandLineFile_ = true;
    }
    forms().dispatch([this] {
        MainWindow& main = frmMain();  // creates the window and runs its load step
        main.show();
    });
}

}  // namespace vollo
