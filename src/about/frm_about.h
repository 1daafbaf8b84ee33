// The About window: name, version, a credit line, and a launcher for the
// desktop's system-information program.
#pragma once

#include "platform/form.h"

namespace vollo {

class Application;

class FrmAbout : public Form {
  public:
    FrmAbout(FormRegistry& registry, Application& app);

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
    Application& app_;
};

// The main window's Help -> About.
void bindAboutMenu(Application& app, Form& frmMain);

}  // namespace vollo
