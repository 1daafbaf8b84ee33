// The directory picker's steps: load, drive change, OK and Cancel.
#include "forms/app_context.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/frm_browse.h"
#include "settings/frm_options.h"

namespace vollo {

namespace {

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool holds(const std::string& drive, const std::string& path) {
    if (drive == "/") {
        return startsWith(path, "/");
    }
    return path == drive || (startsWith(path, drive) && path[drive.size()] == '/');
}

}  // namespace

std::string driveHolding(const std::string& path, const std::vector<std::string>& drives) {
    std::string best;
    for (const auto& listed : drives) {
        const std::string drive = withoutTrailingSlashes(listed);
        if (!drive.empty() && holds(drive, path) && (best.empty() || drive.size() > best.size())) {
            best = drive;
        }
    }
    return best;
}

std::string currentDirectoryOfDrive(const std::string& drive, const std::string& currentDir,
                                    const std::vector<std::string>& drives) {
    const std::string normal = withoutTrailingSlashes(drive);
    if (!normal.empty() && driveHolding(currentDir, drives) == normal) {
        return currentDir;
    }
    return normal;
}

void FrmBrowse::Form_Load() {
    // The drive holding the current directory, and that directory in the folder list.
    Drive1.refresh();
    const std::string holding = driveHolding(currentDirectory(), Drive1.drives());
    const std::string drive = holding.empty() ? std::string(1, '/') : holding;
    if (Drive1.drive() == drive) {
        Drive1_Change();
    } else {
        Drive1.setDrive(drive);
    }
}

void FrmBrowse::Drive1_Change() {
    if (revertingDrive_) {
        return;
    }
    const std::string drive = Drive1.drive();
    if (Dir1.setPath(currentDirectoryOfDrive(drive, currentDirectory(), Drive1.drives()))) {
        return;
    }
    // A drive that cannot be read: the folder list stays where it was, and the
    // drive list goes back to the drive that folder lies on.
    if (Dir1.path().empty()) {
        return;
    }
    const std::string shown = driveHolding(Dir1.path(), Drive1.drives());
    if (!shown.empty() && shown != drive) {
        revertingDrive_ = true;
        Drive1.setDrive(shown);
        revertingDrive_ = false;
    }
}

void FrmBrowse::cmdOK_Click() {
    // The caption holds the number of the box to fill ("" reads as 0).
    const double number = roundHalfEven(numericPrefix(arrayElement.caption()));
    if (number >= 0 && number < FrmOptions::kDirCount) {
        // Touching a closed options dialog creates it again, hidden, with its load step.
        FrmOptions& options = app_.touch<FrmOptions>(kFrmOptions);
        options.mDir[static_cast<size_t>(number)]->setText(Dir1.path());
    }
    hide();
}

void FrmBrowse::cmdCancel_Click() {
    hide();
}

}  // namespace vollo
