// The About window: name, version, a credit line, and a launcher for the
// desktop's system-information program.
#pragma once

#include "platform/form.h"

namespace vollo {

class AppContext;

class FrmAbout : public Form {
  public:
    FrmAbout(FormRegistry& registry, AppContext& app);

    Picture& picIcon;
    Label& lblTitle;
    Label& lblVersion;
    Label& lblDescription;
    CommandButton& cmdOK;
    CommandButton& cmdSysInfo;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

  private:
    AppContext& app_;
};

// The main window's Help -> About.
void bindAboutMenu(AppContext& app, Form& frmMain);

}  // namespace vollo
