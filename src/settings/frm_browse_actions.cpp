// The directory picker's steps: load, drive change, OK and Cancel.
#include "settings/frm_browse.h"

#include "platform/files.h"

namespace vollo {

void FrmBrowse::Form_Load() {
    Drive1.refresh();
    Drive1.setDrive("/");
    Dir1.setPath(currentDirectory());
}

void FrmBrowse::Drive1_Change() {}

void FrmBrowse::cmdOK_Click() {}

void FrmBrowse::cmdCancel_Click() {}

}  // namespace vollo
