#include "library/library_scan.h"

#include <algorithm>
#include <numeric>

#include "app/frm_main.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vollo {

bool isPlayableName(const std::string& fileName, bool withAvi) {
    const std::string ext = lowerText(fileName.size() < 4 ? fileName : fileName.substr(fileName.size() - 4));
    return ext == ".mp3" || ext == ".wav" || ext == ".mid" || (withAvi && ext == ".avi");
}

namespace {

struct Item {
    std::string lowerTitle;
    std::string lowerKey;
    std::string title;
    EntryKey key;
};

bool libraryLess(const Item& a, const Item& b) {
    if (int c = a.lowerTitle.compare(b.lowerTitle); c != 0) {
        return c < 0;
    }
    if (int c = a.lowerKey.compare(b.lowerKey); c != 0) {
        return c < 0;
    }
    if (int c = a.title.compare(b.title); c != 0) {
        return c < 0;
    }
    return a.key.text() < b.key.text();
}

void appendDirectory(std::vector<Item>& items, const std::string& dir, bool withAvi) {
    for (auto& name : listFiles(dir)) {
        if (!isPlayableName(name, withAvi)) {
            continue;
        }
        Item item;
        item.title = titleOf(name);
        item.lowerTitle = lowerText(item.title);
        item.key = EntryKey{std::move(name), dir};
        item.lowerKey = lowerText(item.key.text());
        items.push_back(std::move(item));
    }
}

ScannedLibrary finish(std::vector<Item>& items) {
    std::sort(items.begin(), items.end(), libraryLess);
    ScannedLibrary library;
    library.titles.reserve(items.size());
    library.keys.reserve(items.size());
    for (auto& item : items) {
        library.titles.push_back(std::move(item.title));
        library.keys.push_back(std::move(item.key));
    }
    return library;
}

}  // namespace

ScannedLibrary scanDirectories(const std::vector<std::string>& dirs, bool withAvi) {
    std::vector<Item> items;
    for (const auto& dir : dirs) {
        appendDirectory(items, dir, withAvi);
    }
    return finish(items);
}

namespace {

void scanInto(FrmMain& main, const std::vector<std::string>& dirs, bool withAvi, bool keepExisting) {
    std::vector<Item> items;
    if (keepExisting) {
        for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
            Item item;
            item.title = main.hiddenSongList.list(i);
            item.lowerTitle = main.libraryLowerTitles[static_cast<size_t>(i)];
            item.key = main.libraryKeys[static_cast<size_t>(i)];
            item.lowerKey = lowerText(item.key.text());
            items.push_back(std::move(item));
        }
    }
    for (const auto& dir : dirs) {
        appendDirectory(items, dir, withAvi);
    }
    ScannedLibrary library = finish(items);
    main.setLibrary(std::move(library.titles), std::move(library.keys));
}

}  // namespace

void scanLibraryAtStartup(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, false, true);
}

void rescanLibrary(FrmMain& main, const std::vector<std::string>& dirs) {
    scanInto(main, dirs, true, false);
}

}  // namespace vollo
