// Files dragged from the file manager (a text/uri-list of file:// URIs) and
// dropped on the playlist: three files and a folder, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QUrl>

#include "test_app.h"

namespace vollo::qt::test {
namespace {

// Sends a drag of the URIs entering widget and dropped there; whether each was accepted.
std::pair<bool, bool> dropUris(QWidget& widget, const QList<QUrl>& uris) {
    QMimeData data;
    data.setUrls(uris);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

TEST(FileDropTest, ThreeFilesAndAFolderJoinThePlaylistInOrder) {
    TestApp t;
    for (const char* name : {"Beat.MP3", "zz top.wav", "Ünïcode #1.mid", "readme.txt", "folder/b.avi",
                             "folder/A.wav", "folder/cover.jpg"}) {
        const std::string path = std::string("drop/") + name;
        t.makeFile(path.substr(0, path.rfind('/')), path.substr(path.rfind('/') + 1));
    }
    const std::string d = t.dir() + "/drop/";
    QList<QUrl> uris = {QUrl("https://example.org/song.mp3")};
    for (const char* name : {"zz top.wav", "readme.txt", "Ünïcode #1.mid", "folder", "Beat.MP3"}) {
        uris.insert(uris.size() - 1, QUrl::fromLocalFile(QString::fromStdString(d + name)));
    }
    // The library list takes no files; the playlist does.
    auto* library = t.widget<QListView>("visibleSongList");
    auto* playlist = t.widget<QListView>("playList");
    ASSERT_TRUE(library && playlist);
    EXPECT_EQ(dropUris(*library->viewport(), uris), std::make_pair(false, false));
    EXPECT_EQ(dropUris(*playlist->viewport(), uris), std::make_pair(true, true));

    const std::vector<std::pair<std::string, std::string>> want = {
        {"zz top", d + "zz top.wav"}, {"Ünïcode #1", d + "Ünïcode #1.mid"},
        {"A", d + "folder/A.wav"},    {"b", d + "folder/b.avi"},
        {"Beat", d + "Beat.MP3"},
    };
    ASSERT_EQ(t.main().playList.listCount(), static_cast<int>(want.size()));
    for (int i = 0; i < static_cast<int>(want.size()); ++i) {
        EXPECT_EQ(t.main().playList.list(i), want[i].first);
        EXPECT_EQ(t.main().playListInfo.list(i), want[i].second);
    }
    EXPECT_EQ(playlist->model()->rowCount(), static_cast<int>(want.size()));  // the widget follows
}

}  // namespace
}  // namespace vollo::qt::test
