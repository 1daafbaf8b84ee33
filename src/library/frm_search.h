// The search dialog: finds library titles containing a text anywhere and adds
// chosen results to the playlist.
#pragma once

#include "platform/form.h"

namespace vollo {

class Application;

class FrmSearch : public Form {
  public:
    FrmSearch(FormRegistry& registry, Application& app);

    TextBox& txtSearch;
    CommandButton& cmdGo;
    ListBox& lstResults;
    Label& lblStatus;
    CommandButton& cmdAdd;
    ListBox& lstInfo;

    void cmdGo_Click();
    void txtSearch_KeyDown(int keyCode, int shift);
    void cmdAdd_Click();
    void lstResults_DblClick();

  private:
    Application& app_;
};

// The main window's File -> Search.
void bindSearchMenu(Application& app, Form& frmMain);

}  // namespace vollo
