#include "settings/frm_options.h"

#include "forms/app_context.h"
#include "platform/text.h"
#include "settings/media_dirs.h"

namespace vollo {

FrmOptions::FrmOptions(FormRegistry& registry, AppContext& app)
    : Form(registry, kFrmOptions),
      Label2(add<Label>("Label2")),
      Label3(add<Label>("Label3")),
      cmdApply(add<CommandButton>("cmdApply")),
      cmdCancel(add<CommandButton>("cmdCancel")),
      Label1(add<Label>("Label1")),
      txtFontSize(add<TextBox>("txtFontSize")),
      chkConfirmExit(add<CheckBox>("chkConfirmExit")),
      app_(app) {
    setCaption("Options");
    setClientSize(10200, 4905);
    setLeft(2400);
    setTop(2400);
    setFont({"Verdana", 8.25f, false});
    border = Border::Fixed;

    Label2.move(120, 120, 2655, 255);
    Label2.setCaption("Media directories");
    Label3.move(120, 360, 6015, 255);
    Label3.setCaption("Below you may enter up to 30 directories that contain audio files.");
    for (int k = 0; k < kDirCount; ++k) {
        const float column = 3360.0f * static_cast<float>(k / 10);
        const float top = 720.0f + 360.0f * static_cast<float>(k % 10);
        TextBox& box = add<TextBox>("mDir", k);
        box.move(120 + column, top, 2775, 285);
        CommandButton& browse = add<CommandButton>("cmdBrowse", k);
        browse.move(3000 + column, top, 375, 255);
        browse.setCaption("..");
        mDir[static_cast<size_t>(k)] = &box;
        cmdBrowse[static_cast<size_t>(k)] = &browse;
    }
    cmdApply.move(120, 4440, 735, 375);
    cmdApply.setCaption("OK");
    cmdCancel.move(960, 4440, 735, 375);
    cmdCancel.setCaption("Cancel");
    Label1.move(1920, 4440, 855, 255);
    Label1.setCaption("Font size");
    txtFontSize.move(2760, 4440, 375, 285);
    txtFontSize.setText("10");
    chkConfirmExit.move(3480, 4440, 1455, 255);
    chkConfirmExit.setCaption("Confirm exit");

    useFormFontForControls();
    Label2.setFont({"Verdana", 8.25f, true});

    cmdApply.isDefault = true;
    cmdCancel.isCancel = true;
    tabOrder = {"chkConfirmExit", "cmdApply", "cmdCancel", "txtFontSize"};
    for (int k = 0; k < kDirCount; ++k) {
        tabOrder.push_back("mDir(" + std::to_string(k) + ")");
        tabOrder.push_back("cmdBrowse(" + std::to_string(k) + ")");
    }

    on("Form_Load", [this](EventArgs&) { Form_Load(); });
    on("cmdApply_Click", [this](EventArgs&) { cmdApply_Click(); });
    on("cmdCancel_Click", [this](EventArgs&) { cmdCancel_Click(); });
    on(
        "cmdBrowse_Click", [this](EventArgs& e) { cmdBrowse_Click(e.index); }, true);
    variable("appliedDirs", [this](int i) {
        return VarValue(i >= 0 && i < kDirCount ? appliedDirs[static_cast<size_t>(i)] : std::string());
    });
}

void FrmOptions::Form_Load() {
    chkConfirmExit.setValue(app_.confirmExit ? 1 : 0);
    txtFontSize.setText(std::to_string(app_.listFontSize));
    const auto lines = readMediaDirLines(app_.settingsPath(kSettingsFileName), kDirCount);
    for (size_t k = 0; k < lines.size(); ++k) {
        mDir[k]->setText(directoryBoxText(lines[k]));
    }
}

}  // namespace vollo
