// The library order, by hand and against a stable sort on scanned awkward
// names; names the scan takes; the settings' directory and boolean lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "forms/entry_key.h"
#include "forms/frm_main.h"
#include "library/library_order.h"
#include "library/library_scan.h"
#include "platform/services.h"
#include "platform/text.h"
#include "reference_library.h"
#include "settings/media_dirs.h"
#include "settings/window_state.h"
#include "temp_folder.h"

namespace vollo {
namespace {

namespace fs = std::filesystem;

TEST(LibraryScan, PlayableNamesByTheirLastFourCharacters) {
    const std::tuple<const char*, bool, bool> names[] = {
        {"a.MP3", false, true},  {"b.Mid", false, true}, {"c.wav", false, true},
        {"c.avi", false, false}, {"c.AVI", true, true},  {"song.mp3.bak", true, false},
        {"mp3", true, false},    {".mp3", false, true},  {".mp", false, false}};
    for (const auto& [name, withAvi, playable] : names) {
        EXPECT_EQ(isPlayableName(name, withAvi), playable) << name;
    }
}

using reference::Listed;

// What a scan of dirs leaves in a main window's lists (no application).
std::vector<Listed> scanned(const std::vector<std::string>& dirs, bool withAvi) {
    struct Context : AppContext {
        using AppContext::AppContext;
    } context(Services{}, "/");
    FrmMain main(context.forms(), context);
    withAvi ? rescanLibrary(main, dirs) : scanLibraryAtStartup(main, dirs);
    std::vector<Listed> entries;
    EXPECT_EQ(main.libraryKeys.size(), static_cast<std::size_t>(main.hiddenSongList.listCount()));
    for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
        const auto row = static_cast<std::size_t>(i);
        EXPECT_EQ(main.libraryKeys[row].text(), main.hiddenSongListInfo.list(i));
        EXPECT_EQ(main.libraryLowerTitles[row], reference::lower(main.hiddenSongList.list(i)));
        entries.push_back({main.hiddenSongList.list(i), main.hiddenSongListInfo.list(i)});
    }
    return entries;
}

using ScanFolders = TempFolder;

TEST_F(ScanFolders, TakesOrdinaryFilesAndLinksToThemInTheOrderOfAStableSortByTheLibraryRule) {
    initLocale();
    std::mt19937 random(3);
    for (int round = 0; round < 4; ++round) {
        // Folders whose names differ only in letter case order equal titles by the raw key.
        const std::string r = "r" + std::to_string(round) + "/";
        std::vector<std::string> dirs;
        for (const std::string name : {"Music", "music", "\xC3\x89t\xC3\xA9"}) {
            dirs.push_back(folder(r + name));
            for (int i = 0; i < 40; ++i) {
                put(r + name + "/" + reference::randomFileName(random));
            }
        }
        dirs.push_back(dirs[0]);  // a folder listed twice gives its songs twice
        dirs.push_back(dir + "/missing/");
        const bool withAvi = round % 2 == 1;
        ASSERT_EQ(scanned(dirs, withAvi), reference::library(dirs, withAvi)) << "round " << round;
    }
    // Enough entries for both scanning threads to gather and sort runs of their own.
    std::vector<std::string> dirs;
    for (int d = 0; d < 8; ++d) {
        const std::string f = "f" + std::to_string(d);
        dirs.push_back(folder(f));
        for (int i = 0; i < 120; ++i) {
            put(f + "/" + reference::randomFileName(random) + std::to_string(i % 7) + ".mp3");
        }
    }
    EXPECT_EQ(scanned(dirs, false), reference::library(dirs, false));

    // Ordinary files and links to them only.
    const std::string m = folder("m"), other = folder("elsewhere");
    put("m/b.mp3");
    put("elsewhere/target.wav");
    fs::create_symlink(other + "target.wav", m + "linked.wav");
    fs::create_symlink(other, m + "folder.mid");
    fs::create_symlink(other + "gone.mp3", m + "dangling.mp3");
    put("m/sub.mp3/inner.mp3");
    put("m/.hidden.mp3");
    put("m/mp3");
    EXPECT_EQ(scanned({m}, false), (std::vector<Listed>{{"b", "b.mp3|" + m}, {"linked", "linked.wav|" + m}}));
}

TEST(SettingsLines, DirectoryAndBooleanLines) {
    for (const auto& [box, line] : std::vector<std::pair<std::string, std::string>>{
             {"/music", "/music/"}, {"", ""}, {"  ", "  /"}, {"/", "/"}}) {
        EXPECT_EQ(directoryLine(box), line);
        EXPECT_EQ(directoryBoxText(line), box);
    }
    EXPECT_EQ(directoryLine("/music/"), "/music/");
    EXPECT_EQ(leadingDirectories({"a/", "b/", "", "c/"}), (std::vector<std::string>{"a/", "b/"}));
    const std::pair<const char*, std::optional<bool>> booleans[] = {
        {"True", true}, {" false ", false},    {"0", false},       {"-1", true},
        {"2.5", true},  {"yes", std::nullopt}, {"", std::nullopt}, {"1x", std::nullopt}};
    for (const auto& [text, value] : booleans) {
        EXPECT_EQ(parseBooleanLine(text), value) << text;
    }
}

// The entries in the order the library lists them, as "file|dir".
std::vector<std::string> listed(const ScannedLibrary& library) {
    std::vector<std::string> keys;
    for (std::size_t row = 0; row < library.size(); ++row) {
        keys.emplace_back(library.keyText(row));
        EXPECT_EQ(library.title(row), library.file(row).substr(0, library.file(row).size() - 4));
        EXPECT_EQ(library.lowerTitles[row], reference::lower(std::string(library.title(row))));
    }
    return keys;
}

// Two runs gathered and sorted as the scanning threads leave them, merged.
ScannedLibrary sorted(const std::vector<EntryKey>& first, const std::vector<EntryKey>& second = {}) {
    Run runs[2];
    for (const int i : {0, 1}) {
        for (const EntryKey& entry : i == 0 ? first : second) {
            runs[i].all.addFile(entry.file, runs[i].all.addDir(entry.dir));
        }
        runs[i].order = libraryOrder(runs[i].all);
    }
    return mergeRuns(runs[0], runs[1]);
}

TEST(LibraryOrder, SmallCasesInTheOrderWrittenOut) {
    initLocale();
    struct Case {
        const char* what;
        std::vector<EntryKey> entries;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"titles ignore case; equal ones go by the raw title",
         {{"b.mp3", "/m/"}, {"a.mp3", "/m/"}, {"A.mp3", "/m/"}},
         {"A.mp3|/m/", "a.mp3|/m/", "b.mp3|/m/"}},
        {"equal lower-cased titles go by the lower-cased key before the raw title",
         {{"song.mp3", "/z/"}, {"Song.wav", "/a/"}, {"SONG.mp3", "/Z/"}},
         {"SONG.mp3|/Z/", "song.mp3|/z/", "Song.wav|/a/"}},
        {"a title that is a prefix of another comes first",
         {{"ab.mp3", "/m/"}, {"a.mp3", "/m/"}, {"a .mp3", "/m/"}},
         {"a.mp3|/m/", "a .mp3|/m/", "ab.mp3|/m/"}},
        {"titles equal in their first 16 bytes",
         {{"A long common beginning y.mp3", "/m/"}, {"a LONG common beginning X.mp3", "/m/"}},
         {"a LONG common beginning X.mp3|/m/", "A long common beginning y.mp3|/m/"}},
        {"letters beyond ASCII lower-case too and sort by their bytes",
         {{"\xC3\xA9toile.mp3", "/m/"}, {"Zed.mp3", "/m/"}, {"\xC3\x89toile.mp3", "/m/"}},
         {"Zed.mp3|/m/", "\xC3\x89toile.mp3|/m/", "\xC3\xA9toile.mp3|/m/"}},
    };
    for (const Case& c : cases) {
        // Split in two runs at every point (one of them empty at the ends), the merge gives the same order.
        for (std::size_t at = 0; at <= c.entries.size(); ++at) {
            const std::vector<EntryKey> head(c.entries.begin(), c.entries.begin() + static_cast<long>(at));
            const std::vector<EntryKey> tail(c.entries.begin() + static_cast<long>(at), c.entries.end());
            EXPECT_EQ(listed(sorted(tail, head)), c.expected) << c.what << ", split at " << at;
        }
    }
}

}  // namespace
}  // namespace vollo
