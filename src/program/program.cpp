#include "program/program.h"

#include <malloc.h>
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/remote.h"
#include "platform/files.h"
#include "platform/null_media_player.h"
#include "platform/qt/mpris_service.h"
#include "platform/qt/qt_binding.h"
#include "platform/qt/qt_services.h"
#include "platform/text.h"
#include "settings/start_up.h"

#if defined(VOLLO_HAVE_GST)
#include "platform/gst/gst_media_player.h"
#endif

namespace vollo {

int runProgram(int argc, char** argv, const std::function<void(Application&)>& shown) {
    // The library's buffers (megabytes each) always get memory of their own
    // from the system and give it back when freed. By default the C library
    // raises that threshold after the first such free, and the scan's spent
    // buffers then stayed resident: 100,000 songs left from 50 to 58 MB
    // behind, depending on which thread had freed what.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // After QApplication, which sets the locale from the environment itself.
    initLocale();

    // The taskbar and the window manager match the window to the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("vollo"));

    // The program's arguments as bytes (QApplication has removed its own).
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const StartUp startUp =
        decideStartUp(arguments, currentDirectory(), configHome ? configHome : "", home ? home : "");
    makeSettingsDirectory(startUp.settingsDirectory);

#if defined(VOLLO_HAVE_GST)
    GstMediaPlayer music;
#else
    NullMediaPlayer music;
#endif
    qt::QtMessageBox messageBox;
    qt::QtFileDialog fileDialog;
    LocalFolders folders;
    qt::QtProgramLauncher launcher;
    qt::TimeSeededRandom random;
    qt::QtProcessControl process;
    Services services;
    services.messageBox = &messageBox;
    services.fileDialog = &fileDialog;
    services.folders = &folders;
    services.launcher = &launcher;
    services.random = &random;
    services.process = &process;
    services.music = &music;

    Application app(services, startUp.settingsDirectory);
    qt::QtBinding binding(app.forms());
    app.start(startUp.arguments);
    if (app.forms().ended()) {
        return 0;
    }
    // Media keys and the desktop's player controls; without a session bus
    // the program runs as it would without them.
    ApplicationRemote remote(app);
    qt::MprisService mpris(remote, QStringLiteral("Vollo"), QStringLiteral("vollo"));
    mpris.start();
    if (shown) {
        QTimer::singleShot(0, &qtApp, [&app, &shown] { shown(app); });
    }
    return QApplication::exec();
}

}  // namespace vollo
