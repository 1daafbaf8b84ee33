#include "test_app.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <fstream>

#include "platform/files.h"
#include "platform/text.h"

namespace vollo::qt::test {

MsgResult ScriptedBoxes::show(const std::string& text, MsgButtons buttons, const std::string&) {
    shown.push_back(text);
    if (buttons == MsgButtons::OK) {
        return MsgResult::OK;
    }
    if (answers.empty()) {
        return MsgResult::No;
    }
    const MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
}

TestApp::TestApp(const std::vector<std::string>& titles)
    : dir_(temp_.path().toStdString()) {
    for (const std::string& title : titles) {
        makeFile("music", title + ".mp3");
    }
    std::ofstream(dir_ + "/vollo.ini") << dir_ << "/music/\r\n";
    Services services;
    services.messageBox = &boxes;
    services.fileDialog = &dialogs;
    services.launcher = &launcher_;
    services.random = &random_;
    services.process = &process;
    services.music = &player_;
    app_ = std::make_unique<Application>(services, dir_);
    binding_ = std::make_unique<QtBinding>(app_->forms(), kFrmMain, Units(96.0));
    app_->start({});
    QApplication::processEvents();
}

TestApp::~TestApp() {
    binding_.reset();
    app_.reset();
    // Windows of unloaded forms wait for the event loop to delete them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

FormWindow& TestApp::window(const std::string& form) {
    FormWindow* window = binding_->window(form);
    if (!window) {
        throw std::runtime_error("no window for " + form);
    }
    return *window;
}

void TestApp::makeFile(const std::string& folder, const std::string& name) {
    const std::string path = dir_ + "/" + folder;
    QDir().mkpath(QString::fromStdString(path));
    std::ofstream(path + "/" + name);
}

}  // namespace vollo::qt::test

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    vollo::initLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
