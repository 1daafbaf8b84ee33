// The binding seen from outside: widgets at their design places, control
// changes mirrored in the widgets, and real key and mouse events reaching the
// handlers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/list_view.h"
#include "platform/qt/widgets.h"
#include "qt_helpers.h"
#include "settings/frm_options.h"

namespace vollo::qt::test {
namespace {

using ::testing::ElementsAre;

const std::vector<std::string> kTitles = {"Blue Moon", "Bohemian Rhapsody", "Angie", "bad day", "Creep"};

TEST(QtLayout, WidgetsStandAtTheirDesignPlacesIn96DpiPixels) {
    TestApp t(kTitles);
    FormWindow& window = t.window();
    EXPECT_EQ(window.clientArea()->size(), QSize(674, 527));  // 10110 x 7905 twips
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vollo 2.0"));
    // On the window in window coordinates; in the player panel and the key panel relative to them.
    const std::pair<const char*, QRect> places[] = {
        {"hiddenSongList", {8, 32, 337, 354}}, {"txtFilter", {64, 392, 193, 26}},
        {"cmdRemove", {584, 392, 81, 25}},     {"Label1(2)", {360, 8, 81, 25}},
        {"Frame1", {8, 424, 585, 97}},         {"volumeTrackee", {355, 69, 13, 17}},  // edges rounded
        {"cmdPlay", {8, 60, 33, 33}},          {"cmdAlpha(15)", {16, 16, 17, 17}},    // overlapping keys
    };
    for (const auto& [key, place] : places) {
        EXPECT_EQ(window.widgetFor(key)->geometry(), place) << key;
    }
    EXPECT_EQ(window.widgetFor("volumeTrackee")->parentWidget(), window.widgetFor("Frame1"));
    EXPECT_EQ(window.widgetFor("cmdAlpha(15)")->parentWidget(), window.widgetFor("frmMiniKeyboard"));
    // Fonts in points, colours from the design, painted and not only set: the corners show them.
    QWidget* heading = window.widgetFor("Label1(1)");
    EXPECT_DOUBLE_EQ(window.widgetFor("txtFilter")->font().pointSizeF(), 12.0);
    EXPECT_TRUE(window.widgetFor("txtFilter")->font().fixedPitch());
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));
    const std::pair<const char*, QColor> backs[] = {
        {"shuffle", {0x80, 0x80, 0x80}}, {"Label1(1)", {0x40, 0x40, 0x40}}, {"Frame1", {0x80, 0x80, 0x80}}};
    for (const auto& [key, back] : backs) {
        QWidget* widget = window.widgetFor(key);
        EXPECT_EQ(widget->grab().toImage().pixelColor(widget->width() - 1, widget->height() - 1), back)
            << key;
    }
    // What the design hides is hidden.
    EXPECT_FALSE(window.widgetFor("hiddenSongListInfo")->isVisible());
    EXPECT_FALSE(window.widgetFor("frmMiniKeyboard")->isVisible());
    EXPECT_TRUE(window.widgetFor("hiddenSongList")->isVisible());
}

TEST(QtLayout, MenusFollowTheDesignOrderAndCheckMarks) {
    TestApp t(kTitles);
    QMenuBar* bar = t.window().menuBar();
    EXPECT_EQ(texts(bar->actions()), QStringList({"&File", "&View", "&Playlist", "&Help"}));
    EXPECT_EQ(texts(bar->actions().at(0)->menu()->actions()),
              QStringList({"&Options", "&Search", "-", "E&xit"}));
    QAction* showFilter = menuAction(t, "&View", "&Filter");
    QAction* keyboard = menuAction(t, "&View", "&Mini-keyboard");
    ASSERT_TRUE(showFilter && keyboard);
    EXPECT_TRUE(showFilter->isChecked());
    EXPECT_FALSE(keyboard->isChecked());
    // Choosing the entry runs its handler; the mark and the layout follow, and so they do for code.
    showFilter->trigger();
    EXPECT_FALSE(t.main().mnuShowFilter.checked());
    EXPECT_FALSE(showFilter->isChecked());
    EXPECT_FALSE(t.window().widgetFor("txtFilter")->isVisible());
    EXPECT_EQ(t.window().widgetFor("cmdAdd")->geometry(), QRect(8, 392, 337, 25));
    t.app().forms().dispatch([&] { t.main().mnuShowFilter_Click(); });
    EXPECT_TRUE(showFilter->isChecked());
    EXPECT_TRUE(t.window().widgetFor("txtFilter")->isVisible());
    EXPECT_EQ(t.window().widgetFor("cmdAdd")->geometry(), QRect(264, 392, 81, 25));
}

TEST(QtMirror, ControlChangesShowInTheirWidgetsAndTheWindowPlaceBothWays) {
    TestApp t(kTitles);
    FrmMain& main = t.main();
    auto* name = t.widget<QLabel>("lblSongName");
    auto* playlist = t.widget<ListView>("playList");
    main.lblSongName.setCaption("Angie");
    EXPECT_EQ(name->text(), QStringLiteral("Angie"));
    main.lblSongName.setVisible(false);
    EXPECT_FALSE(name->isVisible());
    main.cmdAdd.setEnabled(false);
    EXPECT_FALSE(t.window().widgetFor("cmdAdd")->isEnabled());
    main.txtFilter.setText("ab");
    EXPECT_EQ(t.widget<QLineEdit>("txtFilter")->text(), QStringLiteral("ab"));

    // Items: appended, inserted, removed and replaced, without the view losing its place.
    const auto shows = [&](const std::vector<std::string>& rows, const std::vector<int>& selected) {
        QApplication::processEvents();
        EXPECT_EQ(shownRows(*playlist), rows);
        EXPECT_EQ(viewSelection(*playlist), selected);
    };
    main.playList.addItem("one");
    main.playList.addItem("three");
    main.playList.insertItem(1, "two");
    main.playList.setSelection({0, 2});
    shows({"one", "two", "three"}, {0, 2});
    main.playList.removeItem(0);
    shows({"two", "three"}, {1});
    main.playList.setSelected(0, true);
    main.playList.setSelected(1, false);
    shows({"two", "three"}, {0});
    main.playList.assign({"x", std::string("bad\xff") + "name"});
    shows({"x", "bad\xEF\xBF\xBDname"}, {});

    // The font size reaches the list, and its rows grow with it.
    const int rowHeight = playlist->visualRect(playlist->model()->index(0, 0)).height();
    main.playList.setFontSize(20);
    EXPECT_DOUBLE_EQ(playlist->font().pointSizeF(), 20.0);
    EXPECT_GT(playlist->visualRect(playlist->model()->index(0, 0)).height(), rowHeight + 5);

    // The window's place and caption, both ways: the user moving it tells the form its twips.
    main.setLeft(1500);
    main.setTop(750);
    EXPECT_EQ(t.window().pos(), QPoint(100, 50));
    EXPECT_FLOAT_EQ(main.left(), 1500.0f);  // not rounded through pixels
    t.window().move(QPoint(40, 30));
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(main.left(), 600.0f);
    EXPECT_FLOAT_EQ(main.top(), 450.0f);
    main.setCaption("Other");
    EXPECT_EQ(t.window().windowTitle(), QStringLiteral("Other"));
}

TEST(QtMirror, UserSelectionReachesTheListWithoutHandlers) {
    TestApp t(kTitles);
    auto* library = t.widget<ListView>("hiddenSongList");
    ASSERT_EQ(library->model()->rowCount(), 5);
    int calls = 0;
    t.main().on("hiddenSongList_Click", [&](EventArgs&) { ++calls; });
    const std::pair<Qt::KeyboardModifiers, int> clicks[] = {
        {{}, 1}, {Qt::ShiftModifier, 3}, {Qt::ControlModifier, 2}};
    const std::vector<int> selected[] = {{1}, {1, 2, 3}, {1, 3}};
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(library->viewport(), Qt::LeftButton, clicks[i].first,
                          rowCentre(*library, clicks[i].second));
        EXPECT_EQ(t.main().hiddenSongList.selectedRows(), selected[i]) << i;
    }
    EXPECT_EQ(t.main().hiddenSongList.selCount(), 2);
    EXPECT_EQ(calls, 0);
    // A drag upwards selects the rows it passes.
    QTest::mousePress(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 4));
    QTest::mouseMove(library->viewport(), rowCentre(*library, 2));
    QTest::mouseRelease(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 2));
    EXPECT_EQ(t.main().hiddenSongList.selectedRows(), (std::vector<int>{2, 3, 4}));
}

TEST(QtEvents, KeysTypedInTheListsOrOnScreenEditTheFilter) {
    TestApp t(kTitles);
    auto* library = t.widget<ListView>("hiddenSongList");
    auto* filtered = t.widget<ListView>("visibleSongList");
    library->setFocus();
    QTest::keyClick(library, Qt::Key_B);
    EXPECT_EQ(t.main().txtFilter.text(), "b");
    EXPECT_EQ(t.widget<QLineEdit>("txtFilter")->text(), QStringLiteral("b"));
    EXPECT_TRUE(filtered->isVisible());
    EXPECT_FALSE(library->isVisible());
    EXPECT_THAT(shownRows(*filtered), ElementsAre("bad day", "Blue Moon", "Bohemian Rhapsody"));
    // The filtered view takes the next keys; Shift alone types nothing.
    QTest::keyClick(filtered, Qt::Key_L);
    EXPECT_EQ(t.main().txtFilter.text(), "bl");
    EXPECT_THAT(shownRows(*filtered), ElementsAre("Blue Moon"));
    QTest::keyClick(filtered, Qt::Key_Backspace);
    EXPECT_EQ(t.main().txtFilter.text(), "b");
    QTest::keyClick(filtered, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(t.main().txtFilter.text(), "b");

    // The on-screen keys set the filter; "*" clears it; a disabled key takes no click.
    choose(t, "&View", "&Mini-keyboard");
    auto* key = t.widget<QPushButton>("cmdAlpha(1)");
    EXPECT_TRUE(key->isVisible());
    EXPECT_EQ(key->text(), QStringLiteral("A"));
    click(key);
    EXPECT_EQ(t.main().txtFilter.text(), "A");
    EXPECT_THAT(shownRows(*filtered), ElementsAre("Angie"));
    click(t.widget<QPushButton>("cmdAlpha(27)"));
    EXPECT_EQ(t.main().txtFilter.text(), "");
    EXPECT_TRUE(library->isVisible());
    t.main().cmdAlpha[2]->setEnabled(false);
    click(t.widget<QPushButton>("cmdAlpha(2)"));
    EXPECT_EQ(t.main().txtFilter.text(), "");
}

TEST(QtEvents, EnterInTheFilterBoxAndDoubleClicksAddAndDeleteRemoves) {
    TestApp t(kTitles);
    auto* box = t.widget<QLineEdit>("txtFilter");
    QTest::keyClicks(box, "Bo");
    EXPECT_EQ(t.main().txtFilter.text(), "Bo");
    EXPECT_THAT(t.main().visibleSongList.items(), ElementsAre("Bohemian Rhapsody"));
    // Enter with nothing selected adds the first row of the shown list.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Bohemian Rhapsody"));
    EXPECT_THAT(shownRows(*t.widget<ListView>("playList")), ElementsAre("Bohemian Rhapsody"));
    EXPECT_EQ(t.main().playListInfo.list(0), t.dir() + "/music/Bohemian Rhapsody.mp3");

    // A double-click on a library row adds it; Delete in the playlist removes the selected entry.
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    auto* library = t.widget<ListView>("hiddenSongList");
    auto* playlist = t.widget<ListView>("playList");
    QTest::mouseDClick(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 0));
    QTest::mouseDClick(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 4));
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Bohemian Rhapsody", "Angie", "Creep"));
    QTest::mouseClick(playlist->viewport(), Qt::LeftButton, {}, rowCentre(*playlist, 1));
    EXPECT_THAT(t.main().playList.selectedRows(), ElementsAre(1));
    playlist->setFocus();
    QTest::keyClick(playlist, Qt::Key_Delete);
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Bohemian Rhapsody", "Creep"));
    EXPECT_THAT(shownRows(*playlist), ElementsAre("Bohemian Rhapsody", "Creep"));
}

TEST(QtEvents, TheTimerTicksThroughTheDispatcher) {
    TestApp t;  // an empty library: the tick shows the first-run hint
    QTimer* timer = t.window().timerFor(t.main().mainTimer);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    // 1 ms asked: every 15 ms while the user acts, every 100 ms once they have been still for a second.
    EXPECT_EQ(timer->interval(), 15);
    QTRY_COMPARE_WITH_TIMEOUT(timer->interval(), 100, 3000);
    QTest::keyClick(t.window().widgetFor("txtFilter"), Qt::Key_A);
    EXPECT_EQ(timer->interval(), 15);
    t.main().lblFirstTime.setVisible(false);
    QTRY_VERIFY_WITH_TIMEOUT(t.main().lblFirstTime.visible(), 2000);
    EXPECT_TRUE(t.window().widgetFor("lblFirstTime")->isVisible());
    t.main().mainTimer.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

TEST(QtEvents, ClosingTheMainWindowAsksAndMayBeRefused) {
    TestApp t(kTitles);
    t.app().confirmExit = true;
    t.boxes.answers = {MsgResult::No};
    EXPECT_FALSE(t.window().close());
    EXPECT_THAT(t.boxes.shown, ElementsAre("Are you sure you wish to exit?"));
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.window().isVisible());
    t.boxes.answers = {MsgResult::Yes};
    EXPECT_TRUE(t.window().close());
    EXPECT_TRUE(t.process.ended);
    EXPECT_TRUE(t.app().forms().ended());
}

TEST(QtEvents, ClosingADialogUnloadsItsForm) {
    TestApp t(kTitles);
    QAction* search = menuAction(t, "&File", "&Search");
    ASSERT_NE(search, nullptr);
    search->trigger();
    FormWindow* dialog = &t.window(kFrmSearch);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Search"));
    dialog->close();
    EXPECT_FALSE(t.app().forms().isLoaded(kFrmSearch));
    EXPECT_EQ(t.binding().window(kFrmSearch), nullptr);
    QApplication::processEvents();
    // Touching it again builds a new window.
    search->trigger();
    EXPECT_TRUE(t.window(kFrmSearch).isVisible());  // throws when there is none
}

TEST(QtEvents, TheOptionsDialogsPickerOpensFoldersAndApplyRescansTheLibrary) {
    TestApp t(kTitles);
    t.makeFile("music/sub", "cover.jpg");
    t.makeFile("more", "Zebra.mp3");
    choose(t, "&File", "&Options");
    FormWindow& dialog = t.window(kFrmOptions);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.clientArea()->size(), QSize(680, 327));  // 10200 x 4905 twips
    EXPECT_EQ(dialog.widgetFor("mDir(13)")->geometry(), QRect(232, 120, 185, 19));
    click(dialog.widgetFor("cmdBrowse(0)"));
    FormWindow& picker = t.window(kFrmBrowse);
    EXPECT_TRUE(picker.isVisible());
    auto* folders = t.widget<DirListWidget>("Dir1", kFrmBrowse);
    auto& dir = static_cast<DirList&>(*t.app().forms().loaded(kFrmBrowse)->find("Dir1"));
    // The path's folders from the root down, the current one highlighted, then its subfolders;
    // double-clicking a subfolder opens it, one of the path goes back up to it.
    const auto open = [&](const char* name) {
        const QList<QListWidgetItem*> rows = folders->findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_FALSE(rows.isEmpty()) << name;
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {},
                           folders->visualItemRect(rows[0]).center());
    };
    EXPECT_EQ(folders->item(0)->text(), QStringLiteral("/"));
    EXPECT_EQ(dir.path(), t.dir() + "/music");
    EXPECT_EQ(folders->currentItem()->text(), QStringLiteral("music"));
    open("sub");
    EXPECT_EQ(dir.path(), t.dir() + "/music/sub");
    EXPECT_EQ(folders->currentItem()->text(), QStringLiteral("sub"));
    open("music");
    EXPECT_EQ(dir.path(), t.dir() + "/music");
    // OK fills the box the picker was opened for.
    click(picker.widgetFor("cmdOK"));
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(t.app().frmOptions().mDir[0]->text(), t.dir() + "/music");
    // Choosing a drive in the drop-down list runs Drive1_Change.
    auto* drives = t.widget<QComboBox>("Drive1", kFrmBrowse);
    auto& drive = static_cast<DriveList&>(*t.app().forms().loaded(kFrmBrowse)->find("Drive1"));
    ASSERT_EQ(drives->count(), static_cast<int>(drive.drives().size()));
    EXPECT_EQ(drives->currentText().toStdString(), drive.drive());
    if (drives->count() > 1) {
        const int other = drives->currentIndex() == 0 ? 1 : 0;
        emit drives->activated(other);
        EXPECT_EQ(drive.drive(), drive.drives()[static_cast<size_t>(other)]);
        EXPECT_EQ(drives->currentIndex(), other);
    }

    // Typed into a box, a folder joins the library when Apply closes the dialog.
    QTest::keyClicks(t.widget<QLineEdit>("mDir(1)", kFrmOptions), QString::fromStdString(t.dir() + "/more"));
    EXPECT_EQ(t.app().frmOptions().mDir[1]->text(), t.dir() + "/more");
    click(dialog.widgetFor("cmdApply"));
    EXPECT_FALSE(t.app().forms().isLoaded(kFrmOptions));
    EXPECT_EQ(t.main().hiddenSongList.listCount(), 6);
    EXPECT_EQ(t.widget<ListView>("hiddenSongList")->model()->rowCount(), 6);
}

}  // namespace
}  // namespace vollo::qt::test
