#include "library/frm_search.h"

#include "forms/app_context.h"

namespace vollo {

FrmSearch::FrmSearch(FormRegistry& registry, AppContext& app)
    : Form(registry, kFrmSearch),
      txtSearch(add<TextBox>("txtSearch")),
      cmdGo(add<CommandButton>("cmdGo")),
      lstResults(add<ListBox>("lstResults")),
      lblStatus(add<Label>("lblStatus")),
      cmdAdd(add<CommandButton>("cmdAdd")),
      lstInfo(add<ListBox>("lstInfo")),
      app_(app) {
    setCaption("Search");
    setClientSize(3975, 4065);
    setLeft(3000);
    setTop(2000);
    setFont({"Verdana", 8.25f, false});
    border = Border::Fixed;

    txtSearch.move(120, 120, 2895, 375);
    cmdGo.move(3120, 120, 735, 375);
    cmdGo.setCaption("Go");
    lstResults.move(120, 600, 3735, 2400);
    lblStatus.move(120, 3120, 3735, 375);
    cmdAdd.move(120, 3600, 3735, 375);
    cmdAdd.setCaption("Add selected file(s) to playlist");
    lstInfo.setVisible(false);
    useFormFontForControls();
    cmdGo.isDefault = true;
    tabOrder = {"txtSearch", "cmdGo", "lstResults", "cmdAdd"};

    on("cmdGo_Click", [this](EventArgs&) { cmdGo_Click(); });
    on("txtSearch_KeyDown", [this](EventArgs& e) {
        txtSearch_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
    on("cmdAdd_Click", [this](EventArgs&) { cmdAdd_Click(); });
    on("lstResults_DblClick", [this](EventArgs&) { lstResults_DblClick(); });
}

}  // namespace vollo
