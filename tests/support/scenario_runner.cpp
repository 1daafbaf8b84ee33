#include "scenario_runner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "app/application.h"
#include "forms/frm_main.h"
#include "notice_mirror.h"
#include "platform/files.h"
#include "platform/form_registry.h"
#include "platform/text.h"
#include "scripted_services.h"
#include "simulated_player.h"

namespace vollo::scenario {

namespace {

namespace fs = std::filesystem;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One word of a command line: its text and whether it was quoted.
struct Word {
    std::string text;
    bool quoted = false;
};

std::vector<Word> splitWords(const std::string& line, const std::string& root) {
    std::vector<Word> words;
    size_t i = 0;
    auto expand = [&](std::string text) {
        size_t at = 0;
        while ((at = text.find("$ROOT", at)) != std::string::npos) {
            text.replace(at, 5, root);
            at += root.size();
        }
        return text;
    };
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        Word word;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i];
                if (c == '\\' && i + 1 < line.size()) {
                    const char e = line[i + 1];
                    word.text += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    i += 2;
                } else if (c == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    word.text += c;
                    ++i;
                }
            }
            if (!closed) {
                throw Failure("unterminated quoted word");
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                word.text += line[i++];
            }
        }
        word.text = expand(word.text);
        words.push_back(std::move(word));
    }
    return words;
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A value read from the program, with the way it compares.
struct Observed {
    enum Kind { Number, Text, Flag } kind = Text;
    double number = 0;
    std::string text;
    bool flag = false;

    static Observed ofNumber(double v) { return {Number, v, {}, false}; }
    static Observed ofText(std::string t) { return {Text, 0, std::move(t), false}; }
    static Observed ofFlag(bool b) { return {Flag, 0, {}, b}; }
    static Observed of(const VarValue& v) {
        if (const auto* d = std::get_if<double>(&v)) {
            return ofNumber(*d);
        }
        if (const auto* b = std::get_if<bool>(&v)) {
            return ofFlag(*b);
        }
        return ofText(std::get<std::string>(v));
    }
    std::string show() const {
        if (kind == Number) {
            return formatNumber(number);
        }
        if (kind == Flag) {
            return flag ? "True" : "False";
        }
        return quote(text);
    }
    bool matches(const std::string& expected) const {
        if (kind == Number) {
            double v = 0;
            return parseNumber(expected, v) && std::fabs(v - number) <= 0.001;
        }
        if (kind == Flag) {
            return expected == (flag ? "True" : "False");
        }
        return expected == text;
    }
};

const char* const kFormNames[] = {kFrmMain, kFrmOptions, kFrmSearch, kFrmBrowse, kFrmAbout};

bool isFormName(const std::string& name) {
    for (const char* f : kFormNames) {
        if (name == f) {
            return true;
        }
    }
    return false;
}

// "name(3)" -> name, 3; "name" -> name, -1.
std::pair<std::string, int> splitIndex(const std::string& text) {
    const size_t open = text.find('(');
    if (open == std::string::npos || text.back() != ')') {
        return {text, -1};
    }
    double index = 0;
    if (!parseNumber(text.substr(open + 1, text.size() - open - 2), index)) {
        return {text, -1};
    }
    return {text.substr(0, open), static_cast<int>(index)};
}

// Everything a case starts afresh.
struct World {
    ScriptProblems problems;
    ScriptedMessageBox messageBox{problems};
    ScriptedFileDialog fileDialog{problems};
    FakeLauncher launcher;
    QueuedRandom random;
    RecordingProcess process;
    SimulatedPlayer player;
    SandboxFolders folders;
    NoticeMirror windows;
};

// One line of a scenario file or of a file it includes.
struct Line {
    std::string where;
    std::string text;
};
using Bindings = std::vector<std::pair<std::string, std::string>>;

class Runner {
  public:
    Runner(std::string file, std::ostream& out)
        : file_(std::move(file)),
          out_(out) {}

    bool run() {
        std::vector<Line> lines;
        if (!readLines(file_, lines)) {
            out_ << file_ << ": cannot read the scenario file\n";
            return false;
        }
        char pattern[] = "/tmp/vollo-scenario-XXXXXX";
        if (!::mkdtemp(pattern)) {
            out_ << file_ << ": cannot make a sandbox\n";
            return false;
        }
        root_ = pattern;
        const std::string previous = currentDirectory();
        if (::chdir(root_.c_str()) != 0) {
            out_ << file_ << ": cannot enter the sandbox\n";
            return false;
        }
        // A handler that throws fails the scenario.
        FormRegistry::setFailureSink(
            [this](const std::string& what) { world_->problems.report("a handler failed: " + what); });
        bool passed = true;
        try {
            runLines(lines, {});
            where_ = file_ + ":" + std::to_string(lines.size());
            command_ = "(end of scenario)";
            endCase();
        } catch (const Failure& failure) {
            report(failure.what());
            passed = false;
        } catch (const std::exception& error) {
            report(std::string("error: ") + error.what());
            passed = false;
        }
        app_.reset();
        FormRegistry::setFailureSink([](const std::string& what) {
            std::fprintf(stderr, "vollo: handler failed outside a scenario: %s\n", what.c_str());
        });
        if (::chdir(previous.c_str()) != 0) {
            // The next scenario makes its own sandbox; nothing depends on this.
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
        return passed;
    }

  private:
    void report(const std::string& what) {
        out_ << where_ << ": " << trim(command_) << (caseTitle_.empty() ? "" : " [case " + caseTitle_ + "]")
             << ": " << what << "\n";
    }

    static bool readLines(const std::string& path, std::vector<Line>& lines) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return false;
        }
        std::stringstream buffer;
        buffer << in.rdbuf();
        size_t number = 0;
        for (auto& text : splitLines(buffer.str())) {
            lines.push_back({path + ":" + std::to_string(++number), std::move(text)});
        }
        return true;
    }

    static bool isBlank(const std::string& text) {
        const size_t first = text.find_first_not_of(" \t");
        return first == std::string::npos || text[first] == '#';
    }

    // Runs lines, expanding for blocks and includes; $NAME of an enclosing for
    // becomes its value in the line's text before it is split into words.
    void runLines(const std::vector<Line>& lines, const Bindings& bindings) {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (isBlank(lines[i].text)) {
                continue;
            }
            where_ = lines[i].where;
            command_ = lines[i].text;
            for (const auto& [name, value] : bindings) {
                size_t at = 0;
                while ((at = command_.find("$" + name, at)) != std::string::npos) {
                    command_.replace(at, name.size() + 1, value);
                    at += value.size();
                }
            }
            const auto w = splitWords(command_, root_);
            if (w.empty()) {
                continue;  // a line a for round left blank
            }
            if (w[0].text == "for") {
                const size_t end = blockEnd(lines, i);
                runFor(w,
                       std::vector<Line>(lines.begin() + static_cast<long>(i) + 1,
                                         lines.begin() + static_cast<long>(end)),
                       bindings);
                i = end;
            } else if (w[0].text == "end") {
                throw Failure("end without for");
            } else if (w[0].text == "include") {
                needArgs(w, 2, "include FILE");
                const std::string path = (fs::path(file_).parent_path() / w[1].text).string();
                std::vector<Line> included;
                if (includeDepth_ > 8 || !readLines(path, included)) {
                    throw Failure("cannot include " + path);
                }
                ++includeDepth_;
                runLines(included, bindings);
                --includeDepth_;
            } else {
                execute(w);
                if (!world_->problems.first.empty()) {
                    throw Failure(world_->problems.first);
                }
                if (const std::string stale = world_->windows.difference(); !stale.empty()) {
                    throw Failure(stale);
                }
            }
        }
    }

    // The index of the "end" closing the for block that begins at lines[start].
    static size_t blockEnd(const std::vector<Line>& lines, size_t start) {
        int depth = 0;
        for (size_t i = start; i < lines.size(); ++i) {
            if (isBlank(lines[i].text)) {
                continue;
            }
            const std::string first = lines[i].text.substr(lines[i].text.find_first_not_of(" \t"));
            const std::string verb = first.substr(0, first.find_first_of(" \t"));
            depth += verb == "for" ? 1 : verb == "end" ? -1 : 0;
            if (depth == 0) {
                return i;
            }
        }
        throw Failure("for without end");
    }

    // for NAME... in VALUE...: the block once per group of as many values as names.
    void runFor(const std::vector<Word>& w, const std::vector<Line>& body, const Bindings& outer) {
        size_t in = 1;
        while (in < w.size() && !(w[in].text == "in" && !w[in].quoted)) {
            ++in;
        }
        const size_t names = in - 1;
        const size_t values = in < w.size() ? w.size() - in - 1 : 0;
        if (names == 0 || in == w.size() || values % names != 0) {
            throw Failure("usage: for NAME... in VALUE... (as many values per round as names)");
        }
        for (size_t round = in + 1; round < w.size(); round += names) {
            Bindings bindings;
            for (size_t k = 0; k < names; ++k) {
                bindings.emplace_back(w[1 + k].text, w[round + k].text);
            }
            // Longer names first, so that $AB is not read as $A followed by B.
            std::stable_sort(bindings.begin(), bindings.end(),
                             [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
            bindings.insert(bindings.end(), outer.begin(), outer.end());
            runLines(body, bindings);
        }
    }

    // The end of a case: every message box must have been checked.
    void endCase() {
        if (!world_->messageBox.unchecked.empty()) {
            throw Failure("a message box was shown but never checked: " +
                          quote(world_->messageBox.unchecked.front().text));
        }
    }

    // case [TITLE]: what came before is over; a fresh world, an empty sandbox,
    // and the program not started.
    void newCase(const std::vector<Word>& w) {
        endCase();
        app_.reset();
        world_ = std::make_unique<World>();
        for (const auto& entry : fs::directory_iterator(root_)) {
            fs::remove_all(entry.path());
        }
        caseTitle_.clear();
        for (size_t i = 1; i < w.size(); ++i) {
            caseTitle_ += (i > 1 ? " " : "") + w[i].text;
        }
    }

    static std::string trim(const std::string& s) {
        const size_t a = s.find_first_not_of(" \t");
        return a == std::string::npos ? "" : s.substr(a);
    }

    std::string absolute(const std::string& path) const {
        return startsWith(path, "/") ? path : root_ + "/" + path;
    }

    void writeFile(const std::string& path, const std::string& bytes) {
        const std::string full = absolute(path);
        fs::create_directories(fs::path(full).parent_path());
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) {
            throw Failure("cannot write " + full);
        }
    }

    Application& app() {
        if (!app_) {
            throw Failure("the program has not been started");
        }
        return *app_;
    }

    FrmMain& mainForm() {
        Form* form = app().forms().loaded(kFrmMain);
        if (!form) {
            throw Failure("frmMain is not loaded");
        }
        return static_cast<FrmMain&>(*form);
    }

    // A loaded form, for checks (never creates one).
    Form& loadedForm(const std::string& name) {
        Form* form = app().forms().loaded(name);
        if (!form) {
            throw Failure(name + " is not loaded");
        }
        return *form;
    }

    void needArgs(const std::vector<Word>& w, size_t n, const char* usage) {
        if (w.size() < n) {
            throw Failure(std::string("usage: ") + usage);
        }
    }

    void dispatch(const std::function<void()>& fn) {
        if (app().forms().ended()) {
            throw Failure("the program has ended; only checks may follow");
        }
        if (!app().forms().dispatch(fn)) {
            throw Failure("the event could not be dispatched");
        }
    }

    void execute(const std::vector<Word>& w) {
        const std::string& verb = w[0].text;
        if (verb == "file") {
            needArgs(w, 2, "file PATH [LINE...]");
            std::string bytes;
            for (size_t i = 2; i < w.size(); ++i) {
                bytes += w[i].text + "\r\n";
            }
            writeFile(w[1].text, bytes);
        } else if (verb == "rawfile") {
            needArgs(w, 3, "rawfile PATH TEXT");
            writeFile(w[1].text, w[2].text);
        } else if (verb == "media") {
            needArgs(w, 3, "media PATH... SECONDS");
            double seconds = 0;
            if (!parseNumber(w.back().text, seconds)) {
                throw Failure("media needs a length in seconds");
            }
            for (size_t i = 1; i + 1 < w.size(); ++i) {
                writeFile(w[i].text, "");
                world_->player.addMedia(absolute(w[i].text), seconds);
            }
        } else if (verb == "unplayable") {
            needArgs(w, 2, "unplayable PATH...");
            for (size_t i = 1; i < w.size(); ++i) {
                writeFile(w[i].text, "not a media file");
                world_->player.forgetMedia(absolute(w[i].text));
            }
        } else if (verb == "mkdir") {
            needArgs(w, 2, "mkdir PATH");
            fs::create_directories(absolute(w[1].text));
        } else if (verb == "sysinfo") {
            needArgs(w, 2, "sysinfo PATH");
            const std::string path = absolute(w[1].text);
            world_->launcher.programs[fs::path(path).filename().string()] = path;
        } else if (verb == "random") {
            for (size_t i = 1; i < w.size(); ++i) {
                double r = 0;
                if (!parseNumber(w[i].text, r)) {
                    throw Failure("random takes numbers");
                }
                world_->random.queue.push_back(r);
            }
        } else if (verb == "case") {
            newCase(w);
        } else if (verb == "start") {
            start(w);
        } else if (verb == "call") {
            call(w);
        } else if (verb == "tick") {
            double n = 1;
            if (w.size() > 1 && !parseNumber(w[1].text, n)) {
                throw Failure("tick takes a count");
            }
            for (int i = 0; i < static_cast<int>(n); ++i) {
                dispatch([this] { mainForm().mainTimer.tick(); });
            }
        } else if (verb == "set") {
            needArgs(w, 3, "set TARGET VALUE");
            set(w[1].text, w[2].text);
        } else if (verb == "select") {
            needArgs(w, 2, "select [FORM.]LIST [ROW...]");
            auto [form, name] = formAndRest(w[1].text);
            auto* list = dynamic_cast<ListBox*>(form.find(name));
            if (!list) {
                throw Failure("no list " + name + " on " + form.name());
            }
            std::vector<int> rows;
            for (size_t i = 2; i < w.size(); ++i) {
                double row = 0;
                if (!parseNumber(w[i].text, row) || row < 0 || row >= list->listCount()) {
                    throw Failure("no row " + w[i].text + " in " + name);
                }
                rows.push_back(static_cast<int>(row));
            }
            list->setSelection(rows);
        } else if (verb == "answer") {
            for (size_t i = 1; i < w.size(); ++i) {
                const std::string& b = w[i].text;
                world_->messageBox.answers.push_back(b == "Yes"      ? MsgResult::Yes
                                                     : b == "No"     ? MsgResult::No
                                                     : b == "Cancel" ? MsgResult::Cancel
                                                     : b == "OK"     ? MsgResult::OK
                                                                     : throw Failure("unknown button " + b));
            }
        } else if (verb == "choose") {
            needArgs(w, 2, "choose PATH|cancel");
            if (w[1].text == "cancel" && !w[1].quoted) {
                world_->fileDialog.choices.push_back(std::nullopt);
            } else {
                world_->fileDialog.choices.push_back(absolute(w[1].text));
            }
        } else if (verb == "close") {
            needArgs(w, 2, "close FORM");
            close(w[1].text);
        } else if (verb == "player") {
            needArgs(w, 2, "player end|advance SECONDS");
            if (w[1].text == "end") {
                world_->player.end();
            } else if (w[1].text == "advance") {
                needArgs(w, 3, "player advance SECONDS");
                double s = 0;
                if (!parseNumber(w[2].text, s)) {
                    throw Failure("player advance takes seconds");
                }
                world_->player.advance(s);
            } else {
                throw Failure("unknown player command " + w[1].text);
            }
        } else if (verb == "expect") {
            needArgs(w, 2, "expect TARGET [VALUE...]");
            expect(w);
        } else if (verb == "check") {
            // check TARGET [VALUE...] ; TARGET [VALUE...] ...: several expects in a row.
            std::vector<Word> one{{"expect", false}};
            for (size_t i = 1; i <= w.size(); ++i) {
                if (i == w.size() || (w[i].text == ";" && !w[i].quoted)) {
                    needArgs(one, 2, "check TARGET [VALUE...] [; TARGET [VALUE...]]...");
                    expect(one);
                    one.resize(1);
                } else {
                    one.push_back(w[i]);
                }
            }
        } else {
            throw Failure("unknown command " + verb);
        }
    }

    void start(const std::vector<Word>& w) {
        if (app_) {
            throw Failure("the program was started already");
        }
        Services services;
        services.messageBox = &world_->messageBox;
        services.fileDialog = &world_->fileDialog;
        world_->folders.root = root_;
        services.folders = &world_->folders;
        services.launcher = &world_->launcher;
        services.random = &world_->random;
        services.process = &world_->process;
        services.music = &world_->player;
        app_ = std::make_unique<Application>(services, root_);
        app_->forms().setObserver(&world_->windows);
        std::vector<std::string> args;
        for (size_t i = 1; i < w.size(); ++i) {
            args.push_back(w[i].text);
        }
        app_->start(args);
    }

    // "frmOptions.mDir(3)" -> (frmOptions, "mDir(3)"); without a form name, frmMain.
    std::pair<Form&, std::string> formAndRest(const std::string& target) {
        const size_t dot = target.find('.');
        if (dot != std::string::npos && isFormName(target.substr(0, dot))) {
            return {loadedForm(target.substr(0, dot)), target.substr(dot + 1)};
        }
        return {mainForm(), target};
    }

    void call(const std::vector<Word>& w) {
        needArgs(w, 2, "call [FORM.]HANDLER [ARG...]");
        std::string formName = kFrmMain;
        std::string handler = w[1].text;
        const size_t dot = handler.find('.');
        if (dot != std::string::npos) {
            formName = handler.substr(0, dot);
            handler = handler.substr(dot + 1);
            if (!isFormName(formName)) {
                throw Failure("no form " + formName);
            }
        }
        if (app().forms().ended()) {
            throw Failure("the program has ended; only checks may follow");
        }
        // Calling a handler of a window that is not open loads it, as code would.
        Form* form = nullptr;
        dispatch([&] { form = &app().forms().touch(formName); });
        const HandlerEntry* entry = form->handler(handler);
        if (!entry) {
            throw Failure("no handler " + handler + " on " + formName);
        }
        EventArgs args;
        size_t next = 2;
        if (entry->indexed) {
            double index = 0;
            if (w.size() <= next || !parseNumber(w[next].text, index)) {
                throw Failure(handler + " needs the control's index first");
            }
            args.index = static_cast<int>(index);
            ++next;
        }
        for (size_t i = next; i < w.size(); ++i) {
            double number = 0;
            if (w[i].quoted) {
                args.args.emplace_back(w[i].text);
            } else if (parseNumber(w[i].text, number)) {
                args.args.emplace_back(number);
            } else if (Control* control = form->find(w[i].text)) {
                args.args.emplace_back(control);
            } else if (Control* onMain = mainForm().find(w[i].text)) {
                args.args.emplace_back(onMain);
            } else {
                throw Failure("argument " + w[i].text + " is neither a number, a quoted text nor a control");
            }
        }
        const std::string name = handler;
        dispatch([&] { form->call(name, args); });
    }

    void close(const std::string& formName) {
        if (!isFormName(formName)) {
            throw Failure("no form " + formName);
        }
        if (formName == kFrmMain) {
            FrmMain& main = mainForm();
            dispatch([&] {
                EventArgs args;
                main.call("Form_Unload", args);
            });
            return;
        }
        loadedForm(formName);
        dispatch([&] { app().forms().unload(formName); });
    }

    void set(const std::string& target, const std::string& value) {
        auto [form, rest] = formAndRest(target);
        const size_t dot = rest.rfind('.');
        if (dot == std::string::npos) {
            throw Failure("set needs CONTROL.PROPERTY");
        }
        Control* control = form.find(rest.substr(0, dot));
        if (!control) {
            throw Failure("no control " + rest.substr(0, dot) + " on " + form.name());
        }
        const std::string property = rest.substr(dot + 1);
        if (property == "Text") {
            auto* box = dynamic_cast<TextBox*>(control);
            if (!box) {
                throw Failure(control->key() + " has no Text");
            }
            dispatch([&] { box->setText(value); });
        } else if (property == "Value") {
            auto* box = dynamic_cast<CheckBox*>(control);
            double v = 0;
            if (!box || !parseNumber(value, v)) {
                throw Failure("set Value needs a check box and a number");
            }
            dispatch([&] { box->setValue(static_cast<int>(v)); });
        } else if (property == "TopIndex") {
            // The user scrolls the list.
            auto* list = dynamic_cast<ListBox*>(control);
            double v = 0;
            if (!list || !parseNumber(value, v)) {
                throw Failure("set TopIndex needs a list and a number");
            }
            dispatch([&] { list->setTopIndex(static_cast<int>(v)); });
        } else if (property == "Path") {
            auto* dir = dynamic_cast<DirList*>(control);
            if (!dir) {
                throw Failure(control->key() + " has no Path");
            }
            dispatch([&] { dir->setPath(absolute(value)); });
        } else if (property == "Drive") {
            auto* drive = dynamic_cast<DriveList*>(control);
            if (!drive) {
                throw Failure(control->key() + " has no Drive");
            }
            dispatch([&] { drive->setDrive(value); });
        } else {
            throw Failure("cannot set " + property);
        }
    }

    std::optional<Observed> formProperty(Form& form, const std::string& property) {
        if (property == "Visible") {
            return Observed::ofFlag(form.visible());
        }
        if (property == "Left") {
            return Observed::ofNumber(form.left());
        }
        if (property == "Top") {
            return Observed::ofNumber(form.top());
        }
        if (property == "Caption") {
            return Observed::ofText(form.caption());
        }
        // The inside of the window, in twips.
        if (property == "ScaleWidth") {
            return Observed::ofNumber(form.clientWidth());
        }
        if (property == "ScaleHeight") {
            return Observed::ofNumber(form.clientHeight());
        }
        return std::nullopt;
    }

    // A control property; List and Selected give several values.
    std::vector<Observed> controlProperty(Control& c, const std::string& property) {
        auto* list = dynamic_cast<ListBox*>(&c);
        if (property == "List" && list) {
            std::vector<Observed> items;
            for (const auto& item : list->items()) {
                items.push_back(Observed::ofText(item));
            }
            return items;
        }
        if (property == "Selected" && list) {
            std::vector<Observed> rows;
            for (int row : list->selectedRows()) {
                rows.push_back(Observed::ofNumber(row));
            }
            return rows;
        }
        if (property == "ListCount" && list) {
            return {Observed::ofNumber(list->listCount())};
        }
        if (property == "TopIndex" && list) {
            return {Observed::ofNumber(list->topIndex())};
        }
        if (property == "Text" || property == "Caption") {
            return {Observed::ofText(c.caption())};
        }
        if (property == "Value") {
            if (auto* box = dynamic_cast<CheckBox*>(&c)) {
                return {Observed::ofNumber(box->value())};
            }
        }
        if (property == "Visible") {
            return {Observed::ofFlag(c.visible())};
        }
        if (property == "Enabled") {
            return {Observed::ofFlag(c.enabled())};
        }
        if (property == "Checked") {
            if (auto* entry = dynamic_cast<MenuEntry*>(&c)) {
                return {Observed::ofFlag(entry->checked())};
            }
        }
        if (property == "Left") {
            return {Observed::ofNumber(c.left())};
        }
        if (property == "Top") {
            return {Observed::ofNumber(c.top())};
        }
        if (property == "Width") {
            return {Observed::ofNumber(c.width())};
        }
        if (property == "Height") {
            return {Observed::ofNumber(c.height())};
        }
        if (property == "FontSize") {
            return {Observed::ofNumber(c.font().sizePoints)};
        }
        if (property == "FontBold") {
            return {Observed::ofFlag(c.font().bold)};
        }
        if (property == "Picture") {
            return {Observed::ofText(c.picture())};
        }
        if (property == "ToolTipText") {
            return {Observed::ofText(c.toolTipText())};
        }
        if (property == "Path") {
            if (auto* dir = dynamic_cast<DirList*>(&c)) {
                return {Observed::ofText(dir->path())};
            }
        }
        if (property == "Drive") {
            if (auto* drive = dynamic_cast<DriveList*>(&c)) {
                return {Observed::ofText(drive->drive())};
            }
        }
        if (property == "FileName") {
            if (auto* dialog = dynamic_cast<FileDialog*>(&c)) {
                return {Observed::ofText(dialog->fileName)};
            }
        }
        throw Failure(c.key() + " has no property " + property);
    }

    void compare(const std::string& what, const std::vector<Observed>& found, const std::vector<Word>& w,
                 size_t first) {
        std::vector<std::string> expected;
        for (size_t i = first; i < w.size(); ++i) {
            expected.push_back(w[i].text);
        }
        bool same = found.size() == expected.size();
        for (size_t i = 0; same && i < found.size(); ++i) {
            same = found[i].matches(expected[i]);
        }
        if (!same) {
            std::string e, f;
            for (const auto& x : expected) {
                e.append(e.empty() ? "" : " ").append(quote(x));
            }
            for (const auto& x : found) {
                f.append(f.empty() ? "" : " ").append(x.show());
            }
            throw Failure(what + ": expected [" + e + "], found [" + f + "]");
        }
    }

    void expect(const std::vector<Word>& w) {
        const std::string& target = w[1].text;
        if (target == "file") {
            needArgs(w, 3, "expect file PATH [LINE...]");
            const std::string path = absolute(w[2].text);
            std::string error;
            const auto bytes = readFileBytes(path, &error);
            if (!bytes) {
                throw Failure("cannot read " + path + ": " + error);
            }
            std::vector<Observed> lines;
            size_t start = 0;
            while (start < bytes->size()) {
                const size_t end = bytes->find("\r\n", start);
                if (end == std::string::npos) {
                    throw Failure("the last line of " + path +
                                  " does not end in CR LF: " + quote(bytes->substr(start)));
                }
                lines.push_back(Observed::ofText(bytes->substr(start, end - start)));
                start = end + 2;
            }
            compare("file " + w[2].text, lines, w, 3);
        } else if (target == "nofile") {
            needArgs(w, 3, "expect nofile PATH");
            if (fs::exists(fs::symlink_status(absolute(w[2].text)))) {
                throw Failure(w[2].text + " exists");
            }
        } else if (target == "msgbox") {
            needArgs(w, 3, "expect msgbox TEXT [TITLE]");
            if (world_->messageBox.unchecked.empty()) {
                throw Failure("no message box was shown");
            }
            const ShownBox box = world_->messageBox.unchecked.front();
            world_->messageBox.unchecked.pop_front();
            const std::string& text = w[2].text;
            const bool textMatches = endsWith(text, "*")
                                         ? startsWith(box.text, text.substr(0, text.size() - 1))
                                         : box.text == text;
            if (!textMatches) {
                throw Failure("expected the message " + quote(text) + ", found " + quote(box.text));
            }
            if (w.size() > 3 && box.title != w[3].text) {
                throw Failure("expected the title " + quote(w[3].text) + ", found " + quote(box.title));
            }
        } else if (target == "started") {
            needArgs(w, 3, "expect started PATH");
            if (world_->launcher.lastStarted != absolute(w[2].text)) {
                throw Failure("expected " + quote(absolute(w[2].text)) + " started, found " +
                              quote(world_->launcher.lastStarted));
            }
        } else if (target == "ended") {
            if (!world_->process.ended) {
                throw Failure("the program has not ended");
            }
        } else if (startsWith(target, "music.")) {
            const std::string p = target.substr(6);
            Observed value;
            if (p == "FileName") {
                value = Observed::ofText(world_->player.fileName());
            } else if (p == "PlayState") {
                value = Observed::ofNumber(world_->player.playState());
            } else if (p == "CurrentPosition") {
                value = Observed::ofNumber(world_->player.currentPositionSeconds());
            } else if (p == "Duration") {
                value = Observed::ofNumber(world_->player.durationSeconds());
            } else if (p == "Volume") {
                value = Observed::ofNumber(world_->player.volume());
            } else {
                throw Failure("music has no property " + p);
            }
            compare(target, {value}, w, 2);
        } else {
            compare(target, observe(target), w, 2);
        }
    }

    std::vector<Observed> observe(const std::string& target) {
        if (target == "confirmExit") {
            return {Observed::ofFlag(app().confirmExit)};
        }
        if (target == "listFontSize") {
            return {Observed::ofNumber(app().listFontSize)};
        }
        std::string formName = kFrmMain;
        std::string rest = target;
        const size_t dot = target.find('.');
        if (dot != std::string::npos && isFormName(target.substr(0, dot))) {
            formName = target.substr(0, dot);
            rest = target.substr(dot + 1);
            if (rest == "Loaded") {
                return {Observed::ofFlag(app().forms().isLoaded(formName))};
            }
            Form& form = loadedForm(formName);
            if (auto value = formProperty(form, rest)) {
                return {*value};
            }
        }
        Form& form = loadedForm(formName);
        const size_t propertyDot = rest.rfind('.');
        if (propertyDot == std::string::npos) {
            auto [name, index] = splitIndex(rest);
            if (const auto* reader = form.findVariable(name)) {
                return {Observed::of((*reader)(index))};
            }
            throw Failure("no variable " + rest + " on " + formName);
        }
        Control* control = form.find(rest.substr(0, propertyDot));
        if (!control) {
            throw Failure("no control " + rest.substr(0, propertyDot) + " on " + formName);
        }
        return controlProperty(*control, rest.substr(propertyDot + 1));
    }

    std::string file_;
    std::ostream& out_;
    std::string root_;
    std::unique_ptr<World> world_ = std::make_unique<World>();
    std::unique_ptr<Application> app_;
    std::string where_;
    std::string command_;
    std::string caseTitle_;
    int includeDepth_ = 0;
};

}  // namespace

bool runScenarioFile(const std::string& path, std::ostream& out) {
    Runner runner(path, out);
    return runner.run();
}

}  // namespace vollo::scenario
