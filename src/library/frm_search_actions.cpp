// The search dialog's handlers and the main window's File -> Search.
#include <string>
#include <vector>

#include "forms/frm_main.h"
#include "library/filter_text.h"
#include "library/frm_search.h"
#include "platform/key_codes.h"
#include "platform/text.h"

namespace vollo {

namespace {

// The path of result row: the text after the file name's "|", then the file name.
std::string resultPath(const FrmSearch& search, int row) {
    const std::string keyText = search.lstInfo.list(row);
    const std::size_t fileLength = search.resultFileLengths.at(static_cast<std::size_t>(row));
    return keyText.substr(fileLength + 1) + keyText.substr(0, fileLength);
}

}  // namespace

void FrmSearch::cmdGo_Click() {
    // 1. The search text, taken once.
    const std::string needle = lowerText(txtSearch.text());

    // 2. Empty the results.
    lstResults.clear();
    lstInfo.clear();
    resultFileLengths.clear();

    // 3. Every library title holding the text, in library order.
    FrmMain& main = app_.frmMain();
    std::vector<std::size_t> rows;
    const TextColumn& lowerTitles = main.libraryLowerTitles;
    for (std::size_t i = 0; i < lowerTitles.size(); ++i) {
        if (containsCharacters(lowerTitles[i], needle)) {
            rows.push_back(i);
        }
    }
    // The results share the library's texts.
    resultFileLengths.reserve(rows.size());
    for (const std::size_t i : rows) {
        resultFileLengths.push_back(main.libraryKeys.file(i).size());
    }
    lstResults.assignTexts(main.hiddenSongList.texts().picked(rows));
    lstInfo.assignTexts(main.hiddenSongListInfo.texts().picked(rows));

    // 4. The count line.
    lblStatus.setCaption(std::to_string(lstResults.listCount()) + " results found.");
}

void FrmSearch::txtSearch_KeyDown(int keyCode, int) {
    if (keyCode == vk::kEnter) {
        cmdGo_Click();
    }
}

void FrmSearch::cmdAdd_Click() {
    FrmMain& main = app_.frmMain();
    for (int r = 0; r < lstResults.listCount(); ++r) {
        if (!lstResults.selected(r)) {
            continue;
        }
        main.appendToPlaylist(lstResults.list(r), resultPath(*this, r));
    }
}

void FrmSearch::lstResults_DblClick() {
    cmdAdd_Click();
}

void bindSearchMenu(AppContext& app, Form& frmMain) {
    frmMain.on("mnuSearch_Click", [&app](EventArgs&) {
        // Not modal: the main window stays usable. Already open: only to the front.
        FrmSearch& search = app.touch<FrmSearch>(kFrmSearch);
        if (!search.visible()) {
            search.show();
        }
        search.bringToFront();
    });
}

}  // namespace vollo
