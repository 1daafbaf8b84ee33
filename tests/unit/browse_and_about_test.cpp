// The directory picker's drives and the About window's launcher when
// starting the program fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "about/frm_about.h"
#include "app/application.h"
#include "platform/files.h"
#include "platform/null_media_player.h"
#include "settings/frm_browse.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;

TEST(PickerDrives, WhichDriveHoldsAFolderAndWhichFolderADriveShows) {
    // The longest mount point that is a parent folder (a name prefix is none).
    const std::vector<std::string> drives{"/", "/mnt", "/mnt/usb", "/media/disk/"};
    // clang-format off
    const std::pair<const char*, const char*> holding[] = {
        {"/home/me/music", "/"}, {"/", "/"}, {"/mnt", "/mnt"}, {"/mnt/usb", "/mnt/usb"},
        {"/mnt/usb/songs", "/mnt/usb"}, {"/mnt/usb2/songs", "/mnt"}, {"/mntx", "/"},
        {"/media/disk/a", "/media/disk"}, {"relative/path", ""}};
    // clang-format on
    for (const auto& [path, drive] : holding) {
        EXPECT_EQ(driveHolding(path, drives), drive) << path;
    }
    EXPECT_EQ(driveHolding("/home", {"/mnt"}), "");
    // A drive shows the current directory only when it holds it (not "/" for a nested drive's folder).
    // clang-format off
    const std::tuple<const char*, const char*, const char*> shown[] = {
        {"/", "/home/me", "/home/me"}, {"/mnt/usb", "/home/me", "/mnt/usb"},
        {"/mnt/usb", "/mnt/usb/songs", "/mnt/usb/songs"}, {"/", "/mnt/usb/songs", "/"},
        {"/mnt/usb/", "/mnt/usb/songs", "/mnt/usb/songs"}};
    // clang-format on
    for (const auto& [drive, current, folder] : shown) {
        EXPECT_EQ(currentDirectoryOfDrive(drive, current, {"/", "/mnt/usb"}), folder)
            << drive << " " << current;
    }
}

class RecordingBoxes : public MessageBoxService {
  public:
    MsgResult show(const std::string& text, MsgButtons, const std::string& title) override {
        shown.push_back(title + ": " + text);
        return MsgResult::OK;
    }
    std::vector<std::string> shown;
};

class Launcher : public ProgramLauncher {
  public:
    std::optional<std::string> findOnPath(const std::string& name) override {
        looked.push_back(name);
        const auto it = onPath.find(name);
        return it == onPath.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool start(const std::string& path) override {
        tried.push_back(path);
        return startWorks;
    }
    std::map<std::string, std::string> onPath;
    bool startWorks = true;
    std::vector<std::string> looked;
    std::vector<std::string> tried;
};

// An application in a folder of its own, which is also the current directory.
class WindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = currentDirectory();
        char pattern[] = "/tmp/vollo-windows-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(::chdir(dir_.c_str()), 0);
        dir_ = currentDirectory();
        Services services;
        services.messageBox = &boxes_;
        services.launcher = &launcher_;
        services.music = &player_;
        app_ = std::make_unique<Application>(services, dir_);
    }
    void TearDown() override {
        app_.reset();
        EXPECT_EQ(::chdir(previous_.c_str()), 0);
        fs::remove_all(dir_);
    }

    std::string previous_;
    std::string dir_;
    NullMediaPlayer player_;
    RecordingBoxes boxes_;
    Launcher launcher_;
    std::unique_ptr<Application> app_;
};

TEST_F(WindowsTest, ThePickerFollowsItsDriveAndStaysPutOnOneThatCannotBeRead) {
    FrmBrowse& picker = app_->frmBrowse();
    const std::string home = driveHolding(dir_, picker.Drive1.drives());
    EXPECT_EQ(picker.Drive1.drive(), home);
    EXPECT_EQ(picker.Dir1.path(), dir_);

    // A drive that does not hold the current directory shows its root folder.
    fs::create_directories(dir_ + "/other/inner");
    picker.Drive1.setDrive(dir_ + "/other");
    EXPECT_EQ(picker.Dir1.path(), dir_ + "/other");
    EXPECT_EQ(picker.Dir1.folders(), std::vector<std::string>{"inner"});

    // Back on the drive holding the current directory: that directory again.
    picker.Drive1.setDrive(home);
    EXPECT_EQ(picker.Dir1.path(), dir_);

    // A drive that cannot be read: the folder list stays, the drive list goes back.
    ASSERT_TRUE(picker.Dir1.setPath(dir_ + "/other/inner"));
    picker.Drive1.setDrive(dir_ + "/gone");
    EXPECT_EQ(picker.Dir1.path(), dir_ + "/other/inner");
    EXPECT_EQ(picker.Drive1.drive(), home);
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(WindowsTest, SystemInformationTriesOnlyTheFirstProgramFoundAndReportsAFailedStart) {
    FrmAbout& about = app_->frmAbout();
    launcher_.onPath = {{"hardinfo", "/usr/bin/hardinfo"}, {"gnome-system-monitor", "/usr/bin/gsm"}};
    launcher_.startWorks = false;
    about.StartSysInfo();
    EXPECT_EQ(launcher_.looked, (std::vector<std::string>{"kinfocenter", "hardinfo"}));
    EXPECT_EQ(launcher_.tried, std::vector<std::string>{"/usr/bin/hardinfo"});
    EXPECT_EQ(boxes_.shown,
              std::vector<std::string>{"Vollo: System Information Is Unavailable At This Time"});
    EXPECT_TRUE(app_->forms().isLoaded(kFrmAbout));

    launcher_.startWorks = true;
    about.StartSysInfo();
    EXPECT_EQ(launcher_.tried.back(), "/usr/bin/hardinfo");
    EXPECT_EQ(boxes_.shown.size(), 1u);
}

}  // namespace
}  // namespace vollo
