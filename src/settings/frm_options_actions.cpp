// The options dialog's buttons: OK, Cancel and the ".." browse buttons.
#include "settings/frm_options.h"

namespace vollo {

void FrmOptions::cmdApply_Click() {}

void FrmOptions::cmdCancel_Click() {}

void FrmOptions::cmdBrowse_Click(int) {}

}  // namespace vollo
