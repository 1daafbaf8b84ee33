// The program: the Qt application, the services, the media player, the
// application's forms shown through the Qt binding, and the event loop.
//
// VOLLO_SHOW (for screenshots; not a setting of the program): a comma-separated
// list of steps run once the main window is shown, each as the user would
// through the menus: "options" (File -> Options), "browse" (the options
// dialog's first ".." button), "search" (File -> Search), "about"
// (Help -> About Vollo), "keyboard" (View -> Mini-keyboard), "filter=TEXT"
// (TEXT typed into the filter box).
#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "platform/files.h"
#include "platform/null_media_player.h"
#include "platform/qt/qt_binding.h"
#include "platform/qt/qt_services.h"
#include "platform/text.h"
#include "settings/frm_options.h"

#if defined(VOLLO_HAVE_GST)
#include "platform/gst/gst_media_player.h"
#endif

namespace {

void runShowSteps(vollo::Application& app, const std::string& steps) {
    size_t start = 0;
    while (start <= steps.size()) {
        const size_t comma = steps.find(',', start);
        const std::string step =
            steps.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? steps.size() + 1 : comma + 1;
        app.forms().dispatch([&app, &step] {
            vollo::MainWindow& main = app.frmMain();
            if (step == "options") {
                main.mnuOptions.click();
            } else if (step == "search") {
                main.mnuSearch.click();
            } else if (step == "about") {
                main.mnuAbout.click();
            } else if (step == "keyboard") {
                main.mnuKeyboard.click();
            } else if (step == "browse") {
                app.frmOptions().cmdBrowse[0]->click();
            } else if (step == "addall") {
                std::vector<int> rows(static_cast<size_t>(main.hiddenSongList.listCount()));
                for (size_t i = 0; i < rows.size(); ++i) {
                    rows[i] = static_cast<int>(i);
                }
                main.hiddenSongList.setSelection(rows);
                main.cmdAdd.click();
            } else if (vollo::startsWith(step, "filter=")) {
                main.txtFilter.setText(step.substr(7));
            }
        });
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // After QApplication, which sets the locale from the environment itself.
    vollo::initLocale();

    // The program's arguments as bytes (QApplication has removed its own).
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }

#if defined(VOLLO_HAVE_GST)
    vollo::GstMediaPlayer music;
#else
    vollo::NullMediaPlayer music;
#endif
    vollo::qt::QtMessageBox messageBox;
    vollo::qt::QtFileDialog fileDialog;
    vollo::qt::QtProgramLauncher launcher;
    vollo::qt::TimeSeededRandom random;
    vollo::qt::QtProcessControl process;
    vollo::Services services;
    services.messageBox = &messageBox;
    services.fileDialog = &fileDialog;
    services.launcher = &launcher;
    services.random = &random;
    services.process = &process;
    services.music = &music;

    vollo::Application app(services, vollo::currentDirectory());
    vollo::qt::QtBinding binding(app.forms());
    app.start(arguments);
    if (app.forms().ended()) {
        return 0;
    }
    if (const char* steps = std::getenv("VOLLO_SHOW"); steps && *steps) {
        const std::string list = steps;
        QTimer::singleShot(0, &qtApp, [&app, list] { runShowSteps(app, list); });
    }
    return QApplication::exec();
}
