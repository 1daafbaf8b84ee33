// vollo-screenshot STEPS [ARG...]: runs Vollo as `vollo ARG...` would and,
// once the main window is shown, runs each step of the comma-separated list
// STEPS ("" for none) as the user would through the windows, each as one
// event. scripts/screenshot.sh takes the pictures.
//
// A new case is one row of kSteps below and one `shot` line in the script.
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "program/program.h"
#include "settings/frm_options.h"

namespace {

struct Step {
    const char* name;  // a step is this name, or this name followed by its text ("filter=B")
    void (*run)(vollo::Application& app, const std::string& text);
};

const Step kSteps[] = {
    {"options", [](vollo::Application& app, const std::string&) { app.frmMain().mnuOptions.click(); }},
    {"browse", [](vollo::Application& app, const std::string&) { app.frmOptions().cmdBrowse[0]->click(); }},
    {"search", [](vollo::Application& app, const std::string&) { app.frmMain().mnuSearch.click(); }},
    {"about", [](vollo::Application& app, const std::string&) { app.frmMain().mnuAbout.click(); }},
    {"keyboard", [](vollo::Application& app, const std::string&) { app.frmMain().mnuKeyboard.click(); }},
    {"filter=",
     [](vollo::Application& app, const std::string& text) { app.frmMain().txtFilter.setText(text); }},
    {"addall",
     [](vollo::Application& app, const std::string&) {
         vollo::MainWindow& main = app.frmMain();
         std::vector<int> rows(static_cast<size_t>(main.hiddenSongList.listCount()));
         for (size_t i = 0; i < rows.size(); ++i) {
             rows[i] = static_cast<int>(i);
         }
         main.hiddenSongList.setSelection(rows);
         main.cmdAdd.click();
     }},
};

const Step* findStep(const std::string& word, std::string& text) {
    for (const Step& step : kSteps) {
        const std::string name = step.name;
        const bool takesText = name.back() == '=';
        if (takesText ? word.compare(0, name.size(), name) == 0 : word == name) {
            text = takesText ? word.substr(name.size()) : std::string();
            return &step;
        }
    }
    return nullptr;
}

std::vector<std::string> splitSteps(const std::string& list) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < list.size()) {
        const size_t comma = list.find(',', start);
        const size_t end = comma == std::string::npos ? list.size() : comma;
        words.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vollo-screenshot STEPS [ARG...]\n");
        return 2;
    }
    const std::vector<std::string> words = splitSteps(argv[1]);
    for (const std::string& word : words) {
        std::string text;
        if (!findStep(word, text)) {
            std::fprintf(stderr, "vollo-screenshot: no step \"%s\"\n", word.c_str());
            return 2;
        }
    }
    // The program sees its own name and the arguments after STEPS.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    int count = argc - 1;
    return vollo::runProgram(count, args.data(), [&words](vollo::Application& app) {
        for (const std::string& word : words) {
            std::string text;
            const Step* step = findStep(word, text);
            app.forms().dispatch([&] { step->run(app, text); });
        }
    });
}
