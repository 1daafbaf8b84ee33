// The search dialog: finds library titles containing a text anywhere and adds
// chosen results to the playlist.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/form.h"

namespace vollo {

class AppContext;

class FrmSearch : public Form {
  public:
    FrmSearch(FormRegistry& registry, AppContext& app);

    TextBox& txtSearch;
    CommandButton& cmdGo;
    ListBox& lstResults;
    Label& lblStatus;
    CommandButton& cmdAdd;
    ListBox& lstInfo;
    // For each result, the length of the file name at the start of its key
    // text in lstInfo, so a "|" inside a file or folder name cannot corrupt
    // the path built from the key.
    std::vector<std::size_t> resultFileLengths;

    void cmdGo_Click();
    void txtSearch_KeyDown(int keyCode, int shift);
    void cmdAdd_Click();
    void lstResults_DblClick();

  private:
    AppContext& app_;
};

// The main window's File -> Search.
void bindSearchMenu(AppContext& app, Form& frmMain);

}  // namespace vollo
