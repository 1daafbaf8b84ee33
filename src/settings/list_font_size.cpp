#include "settings/list_font_size.h"

#include "forms/frm_main.h"
#include "platform/text.h"

namespace vollo {

namespace {

const char* const kInvalidFontSize = "Invalid font size.\r\n\r\nFont size must be between 4 and 72.";

}  // namespace

bool applyListFontSize(AppContext& app, const std::string& fontText) {
    const double size = numericPrefix(fontText);
    if (size < 4 || size > 72) {
        app.msgBox(kInvalidFontSize);
        return false;
    }
    // A text that is not one number as a whole ("12abc") changes nothing.
    if (isWholeNumber(fontText)) {
        FrmMain& main = app.frmMain();
        const auto points = static_cast<float>(size);
        main.visibleSongList.setFontSize(points);
        main.hiddenSongList.setFontSize(points);
        main.setFontSize(points);
        main.playList.setFontSize(points);
        app.listFontSize = static_cast<std::int16_t>(roundHalfEven(size));
        // A font change alters a list's height: back to the layout's.
        main.visibleSongList.setHeight(5310);
        main.hiddenSongList.setHeight(5310);
        main.playList.setHeight(5310);
    }
    return true;
}

}  // namespace vollo
