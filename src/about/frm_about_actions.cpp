// The About window's buttons and the main window's Help -> About.
#include "about/frm_about.h"

namespace vollo {

void FrmAbout::cmdOK_Click() {}
void FrmAbout::cmdSysInfo_Click() {}
void FrmAbout::StartSysInfo() {}

void bindAboutMenu(Application&, Form&) {}

}  // namespace vollo
