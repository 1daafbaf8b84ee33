// The font size of the song and playlist lists, from the options dialog's box.
#pragma once

#include <string>

namespace vollo {

class AppContext;

// Applies a font size to the song and playlist lists; false, after the
// "Invalid font size." message, when it lies outside 4..72.
bool applyListFontSize(AppContext& app, const std::string& fontText);

}  // namespace vollo
