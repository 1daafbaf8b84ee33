// Files dragged from the file manager (a text/uri-list of file:// URIs) and
// dropped on the playlist: three files and a folder, on the offscreen platform.
#include <QUrl>

#include "qt_helpers.h"

namespace vollo::qt::test {
namespace {

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
    QMimeData data;
    data.setUrls(uris);
    // The library list takes no files, neither entering nor dropped; the playlist does.
    QWidget& library = *t.widget<QAbstractItemView>("visibleSongList")->viewport();
    auto* playlist = t.widget<QAbstractItemView>("playList");
    EXPECT_FALSE(sendDrag<QDragEnterEvent>(data, library, QPoint(20, 20), Qt::CopyAction));
    EXPECT_FALSE(sendDrag<QDropEvent>(data, library, QPoint(20, 20), Qt::CopyAction));
    EXPECT_TRUE(sendDrag<QDragEnterEvent>(data, *playlist->viewport(), QPoint(20, 20), Qt::CopyAction));
    EXPECT_TRUE(sendDrag<QDropEvent>(data, *playlist->viewport(), QPoint(20, 20), Qt::CopyAction));

    EXPECT_EQ(t.main().playList.items(),
              (std::vector<std::string>{"zz top", "Ünïcode #1", "A", "b", "Beat"}));
    EXPECT_EQ(t.main().playListInfo.items(),
              (std::vector<std::string>{d + "zz top.wav", d + "Ünïcode #1.mid", d + "folder/A.wav",
                                        d + "folder/b.avi", d + "Beat.MP3"}));
    EXPECT_EQ(playlist->model()->rowCount(), 5);  // the widget follows
}

}  // namespace
}  // namespace vollo::qt::test
