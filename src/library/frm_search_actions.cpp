// The search dialog's handlers and the main window's File -> Search.
#include "library/frm_search.h"

namespace vollo {

void FrmSearch::cmdGo_Click() {}
void FrmSearch::txtSearch_KeyDown(int, int) {}
void FrmSearch::cmdAdd_Click() {}
void FrmSearch::lstResults_DblClick() {}

void bindSearchMenu(Application&, Form&) {}

}  // namespace vollo
