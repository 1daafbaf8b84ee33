// The library filter and lists driven through the main window: a filter with
// more matches than any fixed table would hold, titles that differ only in
// letter case keeping row and key together, the Add button's state when
// neither list is shown.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/application.h"
#include "app/main_window.h"
#include "library/library_activation.h"
#include "platform/null_media_player.h"
#include "platform/services.h"
#include "platform/text.h"
#include "scanned_library.h"

namespace vollo {
namespace {

class LibraryListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initLocale();
        dir_ = std::filesystem::temp_directory_path() / ("vollo-library-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        Services services;
        services.music = &player_;
        app_ = std::make_unique<Application>(services, dir_.string());
        app_->start({});
        main = &app_->frmMain();
    }
    void TearDown() override {
        app_.reset();
        std::filesystem::remove_all(dir_);
    }
    void setFilter(const std::string& text) {
        app_->forms().dispatch([&] { main->txtFilter.setText(text); });
    }
    void run(const std::string& handler) {
        app_->forms().dispatch([&] { main->call(handler); });
    }

    MainWindow* main = nullptr;

  private:
    NullMediaPlayer player_;
    std::filesystem::path dir_;
    std::unique_ptr<Application> app_;
};

std::string fiveDigitName(const char* prefix, int i) {
    return std::string(prefix).append(fiveDigits(i));
}

TEST_F(LibraryListsTest, EveryMatchKeepsItsKeyAndTheTableNeverShrinks) {
    std::vector<std::string> titles;
    std::vector<EntryKey> keys;
    for (int i = 0; i < 10050; ++i) {
        titles.push_back(fiveDigitName("a", i));
        keys.push_back({titles.back() + ".mp3", "/m/"});
    }
    for (int i = 0; i < 3; ++i) {
        titles.push_back(fiveDigitName("b", i));
        keys.push_back({titles.back() + ".mp3", "/n/"});
    }
    setLibrary(*main, inMemoryLibrary(titles, keys));

    setFilter("a");
    ASSERT_EQ(main->visibleSongList.listCount(), 10050);
    ASSERT_GE(main->visibleSongListInfo.size(), 10050u);
    EXPECT_EQ(main->visibleSongList.list(10049), "a10049");

    // The last rows of a long view are added with their own paths.
    main->visibleSongList.setSelection({10001, 10049});
    run("visibleSongList_DblClick");
    ASSERT_EQ(main->playListInfo.listCount(), 2);
    EXPECT_EQ(main->playListInfo.list(0), "/m/a10001.mp3");
    EXPECT_EQ(main->playListInfo.list(1), "/m/a10049.mp3");

    // A shorter view overwrites the first slots only.
    setFilter("B");
    EXPECT_EQ(main->visibleSongList.items(), (std::vector<std::string>{"b00000", "b00001", "b00002"}));
    EXPECT_EQ(main->visibleSongListInfo[2].text(), "b00002.mp3|/n/");
    EXPECT_EQ(main->visibleSongListInfo[10049].text(), "a10049.mp3|/m/");
}

TEST_F(LibraryListsTest, TitlesEqualButForCaseKeepRowAndKeyTogether) {
    // In library order: lower-cased title, then lower-cased key, then raw bytes.
    setLibrary(*main, inMemoryLibrary({"Song", "SONG", "song", "Song 2", "Zed"}, {{"Song.mp3", "/a/"},
                                                                                  {"SONG.mp3", "/b/"},
                                                                                  {"song.mp3", "/c/"},
                                                                                  {"Song 2.mp3", "/a/"},
                                                                                  {"Zed.mp3", "/a/"}}));
    setFilter("sOnG");
    ASSERT_EQ(main->visibleSongList.items(), (std::vector<std::string>{"Song", "SONG", "song", "Song 2"}));
    main->visibleSongList.setSelection({1, 2, 3});
    run("cmdAdd_Click");
    EXPECT_EQ(main->playList.items(), (std::vector<std::string>{"SONG", "song", "Song 2"}));
    EXPECT_EQ(main->playListInfo.items(),
              (std::vector<std::string>{"/b/SONG.mp3", "/c/song.mp3", "/a/Song 2.mp3"}));
}

TEST_F(LibraryListsTest, AddKeepsItsStateWhileNeitherListIsShown) {
    setLibrary(*main, inMemoryLibrary({"One"}, {{"One.mp3", "/a/"}}));
    LibraryActivation& activation = main->libraryActivation();
    main->hiddenSongList.setVisible(false);
    main->visibleSongList.setVisible(false);
    for (const bool enabled : {true, false}) {
        main->cmdAdd.setEnabled(enabled);
        main->hiddenSongList.setSelection({});
        activation.updateAddButton();
        EXPECT_EQ(main->cmdAdd.enabled(), enabled);
        main->hiddenSongList.setSelection({0});
        activation.updateAddButton();
        EXPECT_EQ(main->cmdAdd.enabled(), enabled);
    }
    // Shown again, the selection decides.
    main->hiddenSongList.setVisible(true);
    activation.updateAddButton();
    EXPECT_TRUE(main->cmdAdd.enabled());
}

}  // namespace
}  // namespace vollo
