// The About window's buttons and the main window's Help -> About.
#include "about/frm_about.h"

#include "forms/app_context.h"

namespace vollo {

namespace {

// The desktop's system-information programs, in the order they are looked for.
const char* const kSysInfoPrograms[] = {"kinfocenter", "hardinfo", "gnome-system-monitor"};

}  // namespace

void FrmAbout::cmdOK_Click() {
    app_.forms().unload(kFrmAbout);
}

void FrmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void FrmAbout::StartSysInfo() {
    // Only the first program found is tried; any failure ends in the one message.
    if (ProgramLauncher* launcher = app_.services().launcher) {
        for (const char* name : kSysInfoPrograms) {
            if (const auto path = launcher->findOnPath(name)) {
                if (launcher->start(*path)) {
                    return;
                }
                break;
            }
        }
    }
    app_.msgBox("System Information Is Unavailable At This Time", MsgButtons::OK, "Vollo");
}

void bindAboutMenu(AppContext& app, Form& frmMain) {
    frmMain.on("mnuAbout_Click", [&app](EventArgs&) {
        FrmAbout& about = app.touch<FrmAbout>(kFrmAbout);
        about.show();
        about.bringToFront();
    });
}

}  // namespace vollo
