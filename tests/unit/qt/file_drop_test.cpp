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
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

TEST(FileDropTest, ThreeFilesAndAFolderJoinThePlaylistInOrder) {
    TestApp t;
    for (const char* name : {"Beat.MP3", "zz top.wav", "Ünïcode #1.mid", "readme.txt"}) {
        t.makeFile("drop", name);
    }
    for (const char* name : {"b.avi", "A.wav", "cover.jpg"}) {
        t.makeFile("drop/folder", name);
    }
    const auto uri = [&](const std::string& name) {
        return QUrl::fromLocalFile(QString::fromStdString(t.dir() + "/drop/" + name));
    };
    const QList<QUrl> uris = {uri("zz top.wav"), uri("readme.txt"), uri("Ünïcode #1.mid"),
                              uri("folder"),     uri("Beat.MP3"),   QUrl("https://example.org/song.mp3")};

    // The library list takes no files; the playlist does.
    auto* library = t.widget<QListView>("visibleSongList");
    auto* playlist = t.widget<QListView>("playList");
    ASSERT_TRUE(library && playlist);
    EXPECT_EQ(dropUris(*library->viewport(), uris), std::make_pair(false, false));
    EXPECT_EQ(dropUris(*playlist->viewport(), uris), std::make_pair(true, true));

    const std::string d = t.dir() + "/drop/";
    const std::vector<std::pair<std::string, std::string>> want = {
        {"zz top", d + "zz top.wav"}, {"Ünïcode #1", d + "Ünïcode #1.mid"},
        {"A", d + "folder/A.wav"},    {"b", d + "folder/b.avi"},
        {"Beat", d + "Beat.MP3"},
    };
    FrmMain& main = t.main();
    ASSERT_EQ(main.playList.listCount(), static_cast<int>(want.size()));
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(main.playList.list(static_cast<int>(i)), want[i].first);
        EXPECT_EQ(main.playListInfo.list(static_cast<int>(i)), want[i].second);
    }
    // The widget shows what the control holds.
    EXPECT_EQ(playlist->model()->rowCount(), static_cast<int>(want.size()));
}

}  // namespace
}  // namespace vollo::qt::test
