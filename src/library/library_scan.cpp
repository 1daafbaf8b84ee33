#include "library/library_scan.h"

#include <sched.h>
#include <sys/stat.h>

#include <atomic>
#include <exception>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "forms/frm_main.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

bool isPlayableName(std::string_view fileName, bool withAvi) {
    if (fileName.size() < 4) {
        return false;  // the last four characters would be the whole name, and none is a playable one
    }
    char ext[4];
    for (size_t i = 0; i < 4; ++i) {
        const char c = fileName[fileName.size() - 4 + i];
        ext[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    const std::string_view e(ext, 4);
    return e == ".mp3" || e == ".wav" || e == ".mid" || (withAvi && e == ".avi");
}

namespace {

// The playable files directly inside dir, in the order the file system gives
// them (forEachFile: hidden names and everything but ordinary files left out,
// links followed), read without a string per name.
void collectDirectory(Collection& into, const std::string& dir, bool withAvi) {
    struct stat dirStat {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode)) {
        return;
    }
    const std::uint32_t dirIndex = into.addDir(dir);
    forEachFile(dir, [&](std::string_view name) {
        if (isPlayableName(name, withAvi)) {
            into.addFile(name, dirIndex);
        }
    });
}

// True when this process may run on more than one processor at once.
bool severalProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return ::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 1;
}

// About what the entries of all the directories take, from the directories'
// sizes: a directory's size is about the bytes of its entries, at least 16
// each, names included, and each key repeats its directory.
struct ScanSize {
    size_t entries = 0;
    size_t nameBytes = 0;
    size_t lowerBytes = 0;
};
ScanSize expectedSize(const std::vector<std::string>& dirs) {
    ScanSize size;
    for (const std::string& dir : dirs) {
        struct stat dirStat {};
        if (::stat(dir.empty() ? "." : dir.c_str(), &dirStat) == 0 && S_ISDIR(dirStat.st_mode) &&
            dirStat.st_size > 0) {
            const auto bytes = static_cast<size_t>(dirStat.st_size);
            size.entries += bytes / 16;
            size.nameBytes += bytes + bytes / 16 * (dir.size() + 1);
            size.lowerBytes += bytes;
        }
    }
    return size;
}

// Lists the directories on two threads (when two processors are there to run
// them), each taking the next directory in turn and sorting what it found,
// then merges the two sorted runs. The order is total (entries equal in every
// part are the same entry), so the result does not depend on which thread
// took which directory.
ScannedLibrary scanSorted(Collection seed, const std::vector<std::string>& dirs, bool withAvi) {
    // Each run has room for everything from the start: the first takes the
    // second's names at its end, and with room for both neither is copied
    // again (measured: a 60 ms copy at a million songs).
    const ScanSize size = expectedSize(dirs);
    std::atomic<size_t> next{0};
    auto work = [&](Run& run) {
        run.all.expect(size.entries, size.nameBytes, size.lowerBytes);
        for (size_t k = next++; k < dirs.size(); k = next++) {
            collectDirectory(run.all, dirs[k], withAvi);
        }
        sortRun(run);
    };
    Run mine{std::move(seed), {}};
    Run other;
    std::exception_ptr otherFailure;
    std::thread helper;
    if (dirs.size() >= 2 && severalProcessors()) {
        try {
            helper = std::thread([&] {
                try {
                    work(other);
                } catch (...) {
                    otherFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No second thread: this one takes every directory.
        }
    }
    try {
        work(mine);
    } catch (...) {
        if (helper.joinable()) {
            helper.join();
        }
        throw;
    }
    if (helper.joinable()) {
        helper.join();
    }
    if (otherFailure) {
        std::rethrow_exception(otherFailure);
    }
    return mergeRuns(mine, other);
}

void scanInto(FrmMain& main, const std::vector<std::string>& dirs, bool withAvi, bool keepExisting) {
    Collection existing;
    if (keepExisting && main.hiddenSongList.listCount() > 0) {
        const LibraryKeys& keys = main.libraryKeys;
        std::unordered_map<std::string, std::uint32_t> dirIndex;
        for (std::size_t row = 0; row < keys.size(); ++row) {
            const auto [at, added] = dirIndex.try_emplace(keys.dir(row), 0);
            if (added) {
                at->second = existing.addDir(keys.dir(row));
            }
            existing.addEntry(main.hiddenSongList.text(static_cast<int>(row)), main.libraryLowerTitles[row],
                              keys.file(row), at->second);
        }
    }
    setLibrary(main, scanSorted(std::move(existing), dirs, withAvi));
}

}  // namespace

ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi) {
    return scanSorted(Collection(), dirs, withAvi);
}

void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, false, true);
}

void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, true, false);
}

void setLibrary(FrmMain& main, ScannedLibrary library) {
    // The scan's buffer becomes the lists' own: the key texts and titles
    // already stand in it, so only their places are listed, in library order.
    const std::size_t count = library.size();
    std::vector<TextList::Span> keySpans(count);
    std::vector<TextList::Span> titleSpans(count);
    std::vector<std::uint32_t> dirOfRow(count);
    for (std::size_t row = 0; row < count; ++row) {
        const ScannedLibrary::Row& at = library.rows[row];
        keySpans[row] = {at.file, static_cast<std::uint32_t>(library.keyText(row).size())};
        titleSpans[row] = {at.title, at.titleLength};
        dirOfRow[row] = at.dir;
    }
    auto bytes = std::make_shared<std::string>(std::move(library.names));
    const TextList keyTexts(bytes, std::move(keySpans));
    main.libraryLowerTitles = std::move(library.lowerTitles);
    main.libraryKeys = LibraryKeys(keyTexts, std::move(library.dirs), std::move(dirOfRow));
    main.hiddenSongListInfo.assignTexts(keyTexts);
    main.hiddenSongList.assignTexts(TextList(std::move(bytes), std::move(titleSpans)));
}

void showFirstTimeHint(FrmMain& main) {
    main.lblFirstTime.setVisible(main.hiddenSongList.listCount() < 1);
}

}  // namespace vollo
