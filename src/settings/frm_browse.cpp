#include "settings/frm_browse.h"

#include "forms/app_context.h"
#include "platform/files.h"

namespace vollo {

FrmBrowse::FrmBrowse(FormRegistry& registry, AppContext& app)
    : Form(registry, kFrmBrowse),
      Dir1(add<DirList>("Dir1")),
      Drive1(add<DriveList>("Drive1")),
      cmdOK(add<CommandButton>("cmdOK")),
      cmdCancel(add<CommandButton>("cmdCancel")),
      arrayElement(add<Label>("arrayElement")),
      app_(app) {
    setCaption("Select a Directory");
    setClientSize(3030, 4305);
    setLeft(3600);
    setTop(2400);
    setFont({"Tahoma", 8.25f, false});
    border = Border::ToolWindow;

    Dir1.move(120, 120, 2775, 3240);
    Drive1.move(120, 3360, 2775, 315);
    cmdOK.move(120, 3840, 1335, 375);
    cmdOK.setCaption("OK");
    cmdCancel.move(1560, 3840, 1335, 375);
    cmdCancel.setCaption("Cancel");
    arrayElement.move(1680, 4200, 255, 135);
    arrayElement.setVisible(false);
    useFormFontForControls();
    cmdOK.isDefault = true;
    cmdCancel.isCancel = true;
    tabOrder = {"Dir1", "Drive1", "cmdOK", "cmdCancel", "arrayElement"};

    on("Form_Load", [this](EventArgs&) { Form_Load(); });
    on("Drive1_Change", [this](EventArgs&) { Drive1_Change(); });
    on("cmdOK_Click", [this](EventArgs&) { cmdOK_Click(); });
    on("cmdCancel_Click", [this](EventArgs&) { cmdCancel_Click(); });
}

}  // namespace vollo
