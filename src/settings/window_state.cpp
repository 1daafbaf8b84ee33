#include "settings/window_state.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "forms/frm_main.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/frm_options.h"
#include "settings/media_dirs.h"

namespace vollo {

std::optional<bool> parseBooleanLine(const std::string& line) {
    size_t start = line.find_first_not_of(" \t");
    size_t end = line.find_last_not_of(" \t");
    const std::string word = start == std::string::npos ? "" : lowerText(line.substr(start, end - start + 1));
    if (word == "true") {
        return true;
    }
    if (word == "false") {
        return false;
    }
    if (isWholeNumber(line)) {
        return numericPrefix(line) != 0.0;
    }
    return std::nullopt;
}

namespace {

// The range a window position is clamped to: the X11 coordinate range
// (16-bit pixels) at 15 twips a pixel, far inside single precision.
constexpr double kPositionLimit = 32768.0 * 15;

float positionValue(double twips) {
    return static_cast<float>(std::clamp(twips, -kPositionLimit, kPositionLimit));
}

}  // namespace

RestoredViewLines restoreWindowState(AppContext& app) {
    FrmMain& main = app.frmMain();
    // Killed saves of either settings file leave temporaries: start-up removes them.
    removeStaleTemporaries(app.settingsPath(kWindowStateFileName));
    removeStaleTemporaries(app.settingsPath(kSettingsFileName));
    const auto read = readTextLines(app.settingsPath(kWindowStateFileName));
    const std::vector<std::string> lines = read ? *read : std::vector<std::string>{};

    // The three dialogs exist, hidden, from start-up on in every case.
    FrmOptions& options = app.touch<FrmOptions>(kFrmOptions);
    app.touch<Form>(kFrmSearch);
    app.touch<Form>(kFrmBrowse);
    RestoredViewLines views;

    if (lines.empty()) {
        // First run: the design values; the load step has just put listFontSize
        // into the font-size box, so put the design's "10" back.
        options.txtFontSize.setText("10");
        return views;
    }

    auto has = [&](size_t lineNumber) { return lines.size() >= lineNumber; };
    auto number = [&](size_t lineNumber) { return numericPrefix(lines[lineNumber - 1]); };

    if (has(1)) {
        options.txtFontSize.setText(formatNumber(number(1)));
    }
    if (has(2)) {
        // A value the box does not take (0 to 2) leaves it unchanged.
        const double value = roundHalfEven(number(2));
        if (value >= 0 && value <= 2) {
            app.touch<FrmOptions>(kFrmOptions).chkConfirmExit.setValue(static_cast<int>(value));
        }
    }
    struct Position {
        const char* form;
        bool isLeft;
    };
    static const Position positions[] = {{kFrmMain, true},     {kFrmMain, false},  {kFrmOptions, true},
                                         {kFrmOptions, false}, {kFrmSearch, true}, {kFrmSearch, false},
                                         {kFrmBrowse, true},   {kFrmBrowse, false}};
    for (size_t i = 0; i < 8; ++i) {
        const size_t lineNumber = 3 + i;
        if (!has(lineNumber)) {
            continue;
        }
        Form& form = app.forms().touch(positions[i].form);
        const float value = positionValue(number(lineNumber));
        if (positions[i].isLeft) {
            form.setLeft(value);
        } else {
            form.setTop(value);
        }
    }
    if (has(11)) {
        if (const auto shown = parseBooleanLine(lines[10])) {
            main.mnuShowFilter.setChecked(*shown);
        }
        views.filter = true;
    }
    if (has(12)) {
        if (const auto shown = parseBooleanLine(lines[11])) {
            main.mnuKeyboard.setChecked(*shown);
        }
        views.keyboard = true;
    }
    return views;
}

bool saveWindowState(AppContext& app) {
    FrmMain& main = app.frmMain();
    std::vector<std::string> lines;
    lines.reserve(12);
    // Reading a closed dialog creates it again (the options dialog with its load step).
    lines.push_back(app.touch<FrmOptions>(kFrmOptions).txtFontSize.text());
    lines.push_back(std::to_string(app.touch<FrmOptions>(kFrmOptions).chkConfirmExit.value()));
    for (const char* name : {kFrmMain, kFrmOptions, kFrmSearch, kFrmBrowse}) {
        Form& form = app.forms().touch(name);
        lines.push_back(formatSingle(positionValue(form.left())));
        lines.push_back(formatSingle(positionValue(form.top())));
    }
    lines.push_back(main.mnuShowFilter.checked() ? "True" : "False");
    lines.push_back(main.mnuKeyboard.checked() ? "True" : "False");
    return writeTextLinesAtomic(app.settingsPath(kWindowStateFileName), lines);
}

}  // namespace vollo
