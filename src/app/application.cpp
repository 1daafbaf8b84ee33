#include "app/application.h"

#include "about/frm_about.h"
#include "app/frm_main.h"
#include "library/frm_search.h"
#include "platform/files.h"
#include "settings/frm_browse.h"
#include "settings/frm_options.h"

namespace vollo {

Application::Application(Services services, std::string startDirectory)
    : forms_(services),
      startDirectory_(std::move(startDirectory)) {
    forms_.declare(kFrmMain, [this](FormRegistry& r) { return std::make_unique<FrmMain>(r, *this); });
    forms_.declare(kFrmOptions, [this](FormRegistry& r) { return std::make_unique<FrmOptions>(r, *this); });
    forms_.declare(kFrmSearch, [this](FormRegistry& r) { return std::make_unique<FrmSearch>(r, *this); });
    forms_.declare(kFrmBrowse, [this](FormRegistry& r) { return std::make_unique<FrmBrowse>(r, *this); });
    forms_.declare(kFrmAbout, [this](FormRegistry& r) { return std::make_unique<FrmAbout>(r, *this); });
}

Application::~Application() = default;

FrmMain& Application::frmMain() {
    return static_cast<FrmMain&>(forms_.touch(kFrmMain));
}
FrmOptions& Application::frmOptions() {
    return static_cast<FrmOptions&>(forms_.touch(kFrmOptions));
}
FrmSearch& Application::frmSearch() {
    return static_cast<FrmSearch&>(forms_.touch(kFrmSearch));
}
FrmBrowse& Application::frmBrowse() {
    return static_cast<FrmBrowse&>(forms_.touch(kFrmBrowse));
}
FrmAbout& Application::frmAbout() {
    return static_cast<FrmAbout&>(forms_.touch(kFrmAbout));
}

void Application::start(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && !arguments.front().empty()) {
        // The shell has removed any quotes; a relative path is made absolute.
        commandLineFile_ = absolutePath(arguments.front());
        hasCommandLineFile_ = true;
    }
    forms_.dispatch([this] {
        FrmMain& main = frmMain();  // creates the window and runs its load step
        main.show();
    });
}

std::string Application::settingsPath(const std::string& fileName) const {
    return (startDirectory_ == "/" ? "" : startDirectory_) + "/" + fileName;
}

}  // namespace vollo
