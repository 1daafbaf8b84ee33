#include "about/frm_about.h"

#include "forms/app_context.h"

namespace vollo {

FrmAbout::FrmAbout(FormRegistry& registry, AppContext& app)
    : Form(registry, kFrmAbout),
      picIcon(add<Picture>("picIcon")),
      lblTitle(add<Label>("lblTitle")),
      lblVersion(add<Label>("lblVersion")),
      lblDescription(add<Label>("lblDescription")),
      cmdOK(add<CommandButton>("cmdOK")),
      cmdSysInfo(add<CommandButton>("cmdSysInfo")),
      app_(app) {
    setCaption("About Vollo");
    setClientSize(7125, 2400);
    setLeft(2880);
    setTop(2880);
    border = Border::Fixed;

    picIcon.move(0, -120, 3015, 3840);
    picIcon.setPicture("about");
    lblTitle.move(3120, 120, 3885, 480);
    lblTitle.setCaption("Vollo");
    lblTitle.setFont({"Tahoma", 18.0f, false});
    lblVersion.move(3120, 600, 3885, 225);
    lblVersion.setCaption("Version 2.0");
    lblVersion.setFont({"Tahoma", 9.0f, false});
    lblDescription.move(3120, 960, 3885, 570);
    lblDescription.setCaption("Written by the Vollo developers. Updates: https://vollo.example.org/");
    lblDescription.setFont({"Tahoma", 9.0f, false});
    cmdOK.move(4440, 1920, 1260, 345);
    cmdOK.isDefault = true;
    cmdOK.setCaption("OK");
    cmdSysInfo.move(5760, 1920, 1245, 345);
    cmdSysInfo.setCaption("&System Info...");

    on("cmdOK_Click", [this](EventArgs&) { cmdOK_Click(); });
    on("cmdSysInfo_Click", [this](EventArgs&) { cmdSysInfo_Click(); });
}

}  // namespace vollo
