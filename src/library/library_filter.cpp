#include "library/library_filter.h"

#include "app/frm_main.h"

namespace vollo {

LibraryFilter::LibraryFilter(FrmMain& main)
    : main_(main) {}

void LibraryFilter::bind() {
    main_.on("txtFilter_Change", [this](EventArgs&) { txtFilter_Change(); });
    main_.on("txtFilter_KeyDown", [this](EventArgs& e) {
        txtFilter_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
}

void LibraryFilter::txtFilter_Change() {}

void LibraryFilter::txtFilter_KeyDown(int, int) {}

}  // namespace vollo
