// The directory picker: a folder list and a drive list; OK fills the options
// dialog's box whose number stands in the hidden label arrayElement.
#pragma once

#include <string>
#include <vector>

#include "platform/form.h"

namespace vollo {

class AppContext;

class FrmBrowse : public Form {
  public:
    FrmBrowse(FormRegistry& registry, AppContext& app);

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
    AppContext& app_;
    // Set while the drive list is put back after a drive that cannot be read.
    bool revertingDrive_ = false;
};

// The drive holding path: the longest of drives that is path itself or one of
// its parent folders ("/" holds every absolute path); "" when none does.
std::string driveHolding(const std::string& path, const std::vector<std::string>& drives);

// The folder shown for a drive: the current directory when it lies on that
// drive, otherwise the drive's own root folder.
std::string currentDirectoryOfDrive(const std::string& drive, const std::string& currentDir,
                                    const std::vector<std::string>& drives);

}  // namespace vollo
