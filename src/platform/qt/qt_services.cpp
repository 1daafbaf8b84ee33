#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <chrono>

#include "platform/files.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

MsgResult QtMessageBox::show(const std::string& text, MsgButtons buttons, const std::string& title) {
    QString shown = shownText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box;
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(shownText(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
    box.setWindowModality(Qt::ApplicationModal);
    switch (buttons) {
        case MsgButtons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    const int pressed = box.exec();
    switch (pressed) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Ok:
            return MsgResult::OK;
        default:
            break;
    }
    // Closed some other way: the answer that changes nothing.
    switch (buttons) {
        case MsgButtons::OK:
            return MsgResult::OK;
        case MsgButtons::YesNo:
            return MsgResult::No;
        case MsgButtons::YesNoCancel:
            return MsgResult::Cancel;
    }
    return MsgResult::Cancel;
}

QString nameFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (filters.isEmpty() && !filter.empty()) {
        filters << QString::fromStdString(filter);
    }
    return filters.join(QStringLiteral(";;"));
}

QString defaultSuffix(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    if (parts.size() < 2) {
        return {};
    }
    const QString pattern = parts[1].section(QLatin1Char(';'), 0, 0).trimmed();
    const QString suffix = pattern.mid(2);
    const bool plain = pattern.startsWith(QStringLiteral("*.")) && !suffix.isEmpty() &&
                       !suffix.contains(QLatin1Char('*')) && !suffix.contains(QLatin1Char('?'));
    return plain ? suffix : QString();
}

std::optional<std::string> QtFileDialog::ask(const FileDialogRequest& request, bool save) {
    QString start = lastFolder_.isEmpty() ? QFile::decodeName(QByteArray::fromStdString(currentDirectory()))
                                          : lastFolder_;
    if (!request.fileName.empty()) {
        start = QFile::decodeName(QByteArray::fromStdString(absolutePath(request.fileName)));
    }
    QFileDialog dialog(QApplication::activeWindow(), shownText(request.title), start,
                       nameFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(defaultSuffix(request.filter));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(path).absolutePath();
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> QtFileDialog::open(const FileDialogRequest& request) {
    return ask(request, false);
}

std::optional<std::string> QtFileDialog::save(const FileDialogRequest& request) {
    return ask(request, true);
}

std::optional<std::string> QtProgramLauncher::findOnPath(const std::string& name) {
    const QString found = QStandardPaths::findExecutable(QFile::decodeName(QByteArray::fromStdString(name)));
    if (found.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(found).toStdString();
}

bool QtProgramLauncher::start(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    return QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(path)), {});
}

void TimeSeededRandom::seedFromTime() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    engine_.seed(
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

double TimeSeededRandom::next() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void QtProcessControl::endProcess() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

}  // namespace vollo::qt
