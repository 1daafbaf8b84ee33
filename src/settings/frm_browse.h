// The directory picker: a folder list and a drive list; OK fills the options
// dialog's box whose number stands in the hidden label arrayElement.
#pragma once

#include "platform/form.h"

namespace vollo {

class Application;

class FrmBrowse : public Form {
  public:
    FrmBrowse(FormRegistry& registry, Application& app);

    DirList& Dir1;
    DriveList& Drive1;
    CommandButton& cmdOK;
    CommandButton& cmdCancel;
    Label& arrayElement;

    void Form_Load();
    void Drive1_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    Application& app_;
};

}  // namespace vollo
