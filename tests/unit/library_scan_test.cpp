// The scan's sorted order against the order a sorted list would give when
// the titles are inserted one by one; the window-state boolean lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "library/library_scan.h"
#include "platform/text.h"
#include "settings/media_dirs.h"
#include "settings/window_state.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;

TEST(LibraryScan, PlayableNamesByTheirLastFourCharacters) {
    EXPECT_TRUE(isPlayableName("a.MP3", false));
    EXPECT_TRUE(isPlayableName("b.Mid", false));
    EXPECT_TRUE(isPlayableName("c.wav", false));
    EXPECT_FALSE(isPlayableName("c.avi", false));
    EXPECT_TRUE(isPlayableName("c.AVI", true));
    EXPECT_FALSE(isPlayableName("song.mp3.bak", true));
    EXPECT_FALSE(isPlayableName("song.mpeg", true));
    EXPECT_FALSE(isPlayableName("mp3", true));
    EXPECT_TRUE(isPlayableName(".mp3", false));
}

TEST(LibraryScan, OrderIsTitleThenKeyAndKeysFollowTitles) {
    initLocale();
    char pattern[] = "/tmp/vollo-scan-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    std::mt19937 random(3);
    const std::vector<std::string> stems = {
        "Song", "song", "Song 2", "SONG", "alpha", "Alpha", "\xC3\x89t\xC3\xA9", "beta", "b", "B"};
    const std::vector<std::string> exts = {".mp3", ".MP3", ".wav", ".mid"};
    std::vector<std::string> dirs;
    for (int d = 0; d < 3; ++d) {
        const std::string dir = root + "/d" + std::to_string(d) + "/";
        fs::create_directories(dir);
        dirs.push_back(dir);
        for (int i = 0; i < 25; ++i) {
            const std::string name = stems[random() % stems.size()] + (i % 3 ? "" : std::to_string(i)) +
                                     exts[random() % exts.size()];
            std::ofstream(dir + name) << "";
        }
    }
    dirs.push_back(dirs[0]);  // a folder listed twice gives its songs twice
    const ScannedLibrary library = scanDirectories(dirs, false);
    ASSERT_EQ(library.titles.size(), library.keys.size());
    for (size_t i = 0; i < library.titles.size(); ++i) {
        EXPECT_EQ(library.titles[i], titleOf(library.keys[i].file));
        if (i == 0) {
            continue;
        }
        // Titles ascend as a sorted list keeps them; equal lowered titles ascend by key.
        const std::string a = lowerText(library.titles[i - 1]);
        const std::string b = lowerText(library.titles[i]);
        ASSERT_LE(a, b) << i;
        if (a == b) {
            ASSERT_LE(lowerText(library.keys[i - 1].text()), lowerText(library.keys[i].text())) << i;
        }
    }
    size_t expected = 0;
    for (const auto& dir : dirs) {
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) {
            ++expected;
        }
    }
    EXPECT_EQ(library.titles.size(), expected);
    fs::remove_all(root);
}

TEST(SettingsLines, DirectoryLinesRoundTrip) {
    EXPECT_EQ(directoryLine("/music"), "/music/");
    EXPECT_EQ(directoryLine("/music/"), "/music/");
    EXPECT_EQ(directoryLine(""), "");
    EXPECT_EQ(directoryLine("  "), "  /");
    EXPECT_EQ(directoryBoxText("/music/"), "/music");
    EXPECT_EQ(directoryBoxText("/"), "/");
    EXPECT_EQ(directoryBoxText(""), "");
    EXPECT_EQ(directoryLine(directoryBoxText("/")), "/");
    EXPECT_EQ(leadingDirectories({"a/", "b/", "", "c/"}), (std::vector<std::string>{"a/", "b/"}));
    EXPECT_EQ(leadingDirectories({"a/", "b/"}), (std::vector<std::string>{"a/", "b/"}));
}

TEST(SettingsLines, BooleanLines) {
    EXPECT_EQ(parseBooleanLine("True"), true);
    EXPECT_EQ(parseBooleanLine(" false "), false);
    EXPECT_EQ(parseBooleanLine("0"), false);
    EXPECT_EQ(parseBooleanLine("-1"), true);
    EXPECT_EQ(parseBooleanLine("2.5"), true);
    EXPECT_EQ(parseBooleanLine("yes"), std::nullopt);
    EXPECT_EQ(parseBooleanLine(""), std::nullopt);
    EXPECT_EQ(parseBooleanLine("1x"), std::nullopt);
}

}  // namespace
}  // namespace vollo
