// The options dialog's buttons: OK, Cancel and the ".." browse buttons.
#include <cstdint>

#include "forms/app_context.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/frm_browse.h"
#include "settings/frm_options.h"
#include "settings/list_font_size.h"
#include "settings/media_dirs.h"

namespace vollo {

namespace {

const char* const kCannotSave = "Could not save the media directories.";

}  // namespace

void FrmOptions::cmdApply_Click() {
    // 1. The exit confirmation takes effect even when the font size is refused.
    app_.confirmExit = chkConfirmExit.value() == 1;

    // 2-3. The font size must lie between 4 and 72; it is applied to the lists.
    if (!applyListFontSize(app_, txtFontSize.text())) {
        return;
    }

    // 4. The non-empty boxes move up in their order; blanks count as text.
    std::vector<std::string> texts;
    for (const TextBox* box : mDir) {
        if (!box->text().empty()) {
            texts.push_back(box->text());
        }
    }
    texts.resize(kDirCount);
    for (size_t k = 0; k < mDir.size(); ++k) {
        mDir[k]->setText(texts[k]);
    }

    // 5. "vollo.ini": one line per box, each ending in "/".
    std::vector<std::string> applied(kDirCount);
    std::vector<std::string> lines;
    for (size_t k = 0; k < mDir.size(); ++k) {
        applied[k] = directoryLine(mDir[k]->text());
        if (!applied[k].empty()) {
            lines.push_back(applied[k]);
        }
    }
    const std::string path = app_.settingsPath(kSettingsFileName);
    std::string error;
    if (!writeTextLinesAtomic(path, lines, &error)) {
        // The old file is kept; the dialog stays open with the boxes as they are.
        app_.msgBox(std::string(kCannotSave) + "\r\n\r\n" + path + ": " + error, MsgButtons::OK, "Vollo");
        return;
    }
    appliedDirs = std::move(applied);

    // 6. The library is built again from the directories just written.
    if (rescanLibrary) {
        rescanLibrary(leadingDirectories(appliedDirs));
    }

    // 7. The dialog goes away; the window state is written only at exit.
    app_.forms().unload(kFrmOptions);
}

void FrmOptions::cmdCancel_Click() {
    app_.forms().unload(kFrmOptions);
}

void FrmOptions::cmdBrowse_Click(int index) {
    if (index < 0 || index >= kDirCount) {
        return;
    }
    FrmBrowse& browse = app_.touch<FrmBrowse>(kFrmBrowse);
    browse.arrayElement.setCaption(std::to_string(index));
    // A text that names no existing directory leaves the picker where it was.
    browse.Dir1.setPath(mDir[static_cast<size_t>(index)]->text());
    browse.show();
    browse.bringToFront();
}

}  // namespace vollo
