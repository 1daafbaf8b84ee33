// The binding seen from outside: widgets at their design places, control
// changes mirrored in the widgets, and real key and mouse events reaching the
// handlers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
#include "settings/frm_options.h"
#include "test_app.h"

namespace vollo::qt::test {
namespace {

using ::testing::ElementsAre;

// The texts a list view shows, row by row.
std::vector<std::string> shownRows(QListView& view) {
    std::vector<std::string> rows;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        rows.push_back(view.model()->index(row, 0).data().toString().toStdString());
    }
    return rows;
}

std::vector<int> viewSelection(QListView& view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QAction* menuAction(QMenuBar& bar, const QString& menu, const QString& entry) {
    for (QAction* top : bar.actions()) {
        if (top->text() == menu && top->menu()) {
            for (QAction* action : top->menu()->actions()) {
                if (action->text() == entry) {
                    return action;
                }
            }
        }
    }
    return nullptr;
}

QPoint rowCentre(QListView& view, int row) {
    return view.visualRect(view.model()->index(row, 0)).center();
}

const std::vector<std::string> kTitles = {"Blue Moon", "Bohemian Rhapsody", "Angie", "bad day", "Creep"};

TEST(QtLayout, WidgetsStandAtTheirDesignPlacesIn96DpiPixels) {
    TestApp t(kTitles);
    FormWindow& window = t.window();
    EXPECT_EQ(window.clientArea()->size(), QSize(674, 527));  // 10110 x 7905 twips
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vollo 2.0"));
    // On the window, in window coordinates.
    EXPECT_EQ(window.widgetFor("hiddenSongList")->geometry(), QRect(8, 32, 337, 354));
    EXPECT_EQ(window.widgetFor("txtFilter")->geometry(), QRect(64, 392, 193, 26));
    EXPECT_EQ(window.widgetFor("cmdRemove")->geometry(), QRect(584, 392, 81, 25));
    EXPECT_EQ(window.widgetFor("Label1(2)")->geometry(), QRect(360, 8, 81, 25));
    // Inside the player panel, relative to it.
    QWidget* panel = window.widgetFor("Frame1");
    EXPECT_EQ(panel->geometry(), QRect(8, 424, 585, 97));
    QWidget* knob = window.widgetFor("volumeTrackee");
    EXPECT_EQ(knob->parentWidget(), panel);
    EXPECT_EQ(knob->geometry(), QRect(355, 69, 13, 17));  // 5325, 1030, 195, 255: edges rounded
    EXPECT_EQ(window.widgetFor("cmdPlay")->geometry(), QRect(8, 60, 33, 33));
    // The keys stand in their panel, overlapping by one twip-step.
    QWidget* keys = window.widgetFor("frmMiniKeyboard");
    EXPECT_EQ(window.widgetFor("cmdAlpha(15)")->parentWidget(), keys);
    EXPECT_EQ(window.widgetFor("cmdAlpha(15)")->geometry(), QRect(16, 16, 17, 17));
    // Fonts in points, colours from the design.
    EXPECT_DOUBLE_EQ(window.widgetFor("txtFilter")->font().pointSizeF(), 12.0);
    EXPECT_TRUE(window.widgetFor("txtFilter")->font().fixedPitch());
    EXPECT_TRUE(window.widgetFor("Label1(1)")->font().bold());
    EXPECT_EQ(window.widgetFor("Label1(1)")->palette().color(QPalette::Window), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(window.widgetFor("Label1(1)")->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));
    // Painted, not only set: the corners show the back colours.
    const auto corner = [&](const std::string& key) {
        QWidget* widget = window.widgetFor(key);
        return widget->grab().toImage().pixelColor(widget->width() - 1, widget->height() - 1);
    };
    EXPECT_EQ(corner("shuffle"), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(corner("Label1(1)"), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(corner("Frame1"), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(window.widgetFor("cmdMoveUp")->toolTip(),
              QStringLiteral("Move the selected song(s) up one slot in the playlist"));
    // What the design hides is hidden.
    EXPECT_FALSE(window.widgetFor("hiddenSongListInfo")->isVisible());
    EXPECT_FALSE(window.widgetFor("frmMiniKeyboard")->isVisible());
    EXPECT_TRUE(window.widgetFor("hiddenSongList")->isVisible());
}

TEST(QtLayout, MenusFollowTheDesignOrderAndCheckMarks) {
    TestApp t(kTitles);
    QMenuBar* bar = t.window().menuBar();
    ASSERT_NE(bar, nullptr);
    QStringList tops;
    for (QAction* top : bar->actions()) {
        tops << top->text();
    }
    EXPECT_EQ(tops, QStringList({"&File", "&View", "&Playlist", "&Help"}));
    QStringList file;
    for (QAction* action : bar->actions().at(0)->menu()->actions()) {
        file << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(file, QStringList({"&Options", "&Search", "-", "E&xit"}));

    QAction* showFilter = menuAction(*bar, "&View", "&Filter");
    QAction* keyboard = menuAction(*bar, "&View", "&Mini-keyboard");
    ASSERT_TRUE(showFilter && keyboard);
    EXPECT_TRUE(showFilter->isChecked());
    EXPECT_FALSE(keyboard->isChecked());

    // Choosing the entry runs its handler; the mark and the layout follow.
    showFilter->trigger();
    EXPECT_FALSE(t.main().mnuShowFilter.checked());
    EXPECT_FALSE(showFilter->isChecked());
    EXPECT_FALSE(t.window().widgetFor("txtFilter")->isVisible());
    EXPECT_EQ(t.window().widgetFor("cmdAdd")->geometry(), QRect(8, 392, 337, 25));
    // A change made by code shows in the menu too.
    t.app().forms().dispatch([&] { t.main().mnuShowFilter_Click(); });
    EXPECT_TRUE(showFilter->isChecked());
    EXPECT_TRUE(t.window().widgetFor("txtFilter")->isVisible());
    EXPECT_EQ(t.window().widgetFor("cmdAdd")->geometry(), QRect(264, 392, 81, 25));
}

TEST(QtMirror, ControlChangesShowInTheirWidgets) {
    TestApp t(kTitles);
    FrmMain& main = t.main();
    auto* name = t.widget<QLabel>("lblSongName");
    auto* playlist = t.widget<ListView>("playList");
    ASSERT_TRUE(name && playlist);

    main.lblSongName.setCaption("Angie");
    EXPECT_EQ(name->text(), QStringLiteral("Angie"));
    main.lblSongName.setVisible(false);
    EXPECT_FALSE(name->isVisible());
    main.cmdAdd.setEnabled(false);
    EXPECT_FALSE(t.window().widgetFor("cmdAdd")->isEnabled());
    main.txtFilter.setText("ab");
    EXPECT_EQ(t.widget<QLineEdit>("txtFilter")->text(), QStringLiteral("ab"));

    // Items: appended, inserted, removed and replaced, without the view losing its place.
    main.playList.addItem("one");
    main.playList.addItem("three");
    main.playList.insertItem(1, "two");
    EXPECT_THAT(shownRows(*playlist), ElementsAre("one", "two", "three"));
    main.playList.setSelection({0, 2});
    QApplication::processEvents();
    EXPECT_THAT(viewSelection(*playlist), ElementsAre(0, 2));
    main.playList.removeItem(0);
    QApplication::processEvents();
    EXPECT_THAT(shownRows(*playlist), ElementsAre("two", "three"));
    EXPECT_THAT(viewSelection(*playlist), ElementsAre(1));
    main.playList.setSelected(0, true);
    main.playList.setSelected(1, false);
    QApplication::processEvents();
    EXPECT_THAT(viewSelection(*playlist), ElementsAre(0));
    main.playList.assign({"x", std::string("bad\xff") + "name"});
    QApplication::processEvents();
    EXPECT_THAT(shownRows(*playlist), ElementsAre("x", "bad\xEF\xBF\xBDname"));
    EXPECT_TRUE(viewSelection(*playlist).empty());

    // The font size reaches the list, and its rows grow with it.
    const int rowHeight = playlist->visualRect(playlist->model()->index(0, 0)).height();
    main.playList.setFontSize(20);
    EXPECT_DOUBLE_EQ(playlist->font().pointSizeF(), 20.0);
    EXPECT_GT(playlist->visualRect(playlist->model()->index(0, 0)).height(), rowHeight + 5);
}

TEST(QtMirror, WindowPlacesFollowTheFormBothWays) {
    TestApp t(kTitles);
    FormWindow& window = t.window();
    t.main().setLeft(1500);
    t.main().setTop(750);
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_FLOAT_EQ(t.main().left(), 1500.0f);  // not rounded through pixels
    // The user moves the window: the form learns its new place in twips.
    window.move(QPoint(40, 30));
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(t.main().left(), 600.0f);
    EXPECT_FLOAT_EQ(t.main().top(), 450.0f);
    // The caption follows too.
    t.main().setCaption("Other");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Other"));
}

TEST(QtMirror, UserSelectionReachesTheListWithoutHandlers) {
    TestApp t(kTitles);
    auto* library = t.widget<ListView>("hiddenSongList");
    ASSERT_NE(library, nullptr);
    ASSERT_EQ(library->model()->rowCount(), 5);
    int calls = 0;
    t.main().on("hiddenSongList_Click", [&](EventArgs&) { ++calls; });

    QTest::mouseClick(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 1));
    EXPECT_THAT(t.main().hiddenSongList.selectedRows(), ElementsAre(1));
    QTest::mouseClick(library->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(*library, 3));
    EXPECT_THAT(t.main().hiddenSongList.selectedRows(), ElementsAre(1, 2, 3));
    QTest::mouseClick(library->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(*library, 2));
    EXPECT_THAT(t.main().hiddenSongList.selectedRows(), ElementsAre(1, 3));
    EXPECT_EQ(t.main().hiddenSongList.selCount(), 2);
    EXPECT_EQ(calls, 0);
}

TEST(QtEvents, TypingInTheLibraryListEditsTheFilter) {
    TestApp t(kTitles);
    auto* library = t.widget<ListView>("hiddenSongList");
    ASSERT_NE(library, nullptr);
    library->setFocus();
    QTest::keyClick(library, Qt::Key_B);
    EXPECT_EQ(t.main().txtFilter.text(), "b");
    EXPECT_EQ(t.widget<QLineEdit>("txtFilter")->text(), QStringLiteral("b"));
    auto* filtered = t.widget<ListView>("visibleSongList");
    ASSERT_NE(filtered, nullptr);
    EXPECT_TRUE(filtered->isVisible());
    EXPECT_FALSE(library->isVisible());
    EXPECT_THAT(shownRows(*filtered), ElementsAre("bad day", "Blue Moon", "Bohemian Rhapsody"));

    // The filtered view takes the next keys.
    QTest::keyClick(filtered, Qt::Key_L);
    EXPECT_EQ(t.main().txtFilter.text(), "bl");
    EXPECT_THAT(shownRows(*filtered), ElementsAre("Blue Moon"));
    QTest::keyClick(filtered, Qt::Key_Backspace);
    EXPECT_EQ(t.main().txtFilter.text(), "b");
    // Shift alone types nothing.
    QTest::keyClick(filtered, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(t.main().txtFilter.text(), "b");
}

TEST(QtEvents, OnScreenKeysSetTheFilter) {
    TestApp t(kTitles);
    QAction* keyboard = menuAction(*t.window().menuBar(), "&View", "&Mini-keyboard");
    ASSERT_NE(keyboard, nullptr);
    keyboard->trigger();
    auto* key = t.widget<QPushButton>("cmdAlpha(1)");
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->isVisible());
    EXPECT_EQ(key->text(), QStringLiteral("A"));
    QTest::mouseClick(key, Qt::LeftButton);
    EXPECT_EQ(t.main().txtFilter.text(), "A");
    EXPECT_THAT(shownRows(*t.widget<ListView>("visibleSongList")), ElementsAre("Angie"));
    QTest::mouseClick(t.widget<QPushButton>("cmdAlpha(27)"), Qt::LeftButton);
    EXPECT_EQ(t.main().txtFilter.text(), "");
    EXPECT_TRUE(t.window().widgetFor("hiddenSongList")->isVisible());
    // A disabled key takes no click.
    t.main().cmdAlpha[2]->setEnabled(false);
    QTest::mouseClick(t.widget<QPushButton>("cmdAlpha(2)"), Qt::LeftButton);
    EXPECT_EQ(t.main().txtFilter.text(), "");
}

TEST(QtEvents, TypingInTheFilterBoxAndEnterAddsToThePlaylist) {
    TestApp t(kTitles);
    auto* box = t.widget<QLineEdit>("txtFilter");
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "Bo");
    EXPECT_EQ(t.main().txtFilter.text(), "Bo");
    EXPECT_THAT(t.main().visibleSongList.items(), ElementsAre("Bohemian Rhapsody"));
    // Enter with nothing selected adds the first row of the shown list.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Bohemian Rhapsody"));
    EXPECT_THAT(shownRows(*t.widget<ListView>("playList")), ElementsAre("Bohemian Rhapsody"));
    EXPECT_EQ(t.main().playListInfo.list(0), t.dir() + "/music/Bohemian Rhapsody.mp3");
}

TEST(QtEvents, DoubleClickAddsAndDeleteRemoves) {
    TestApp t(kTitles);
    auto* library = t.widget<ListView>("hiddenSongList");
    auto* playlist = t.widget<ListView>("playList");
    ASSERT_TRUE(library && playlist);
    QTest::mouseDClick(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 0));
    QTest::mouseDClick(library->viewport(), Qt::LeftButton, {}, rowCentre(*library, 4));
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Angie", "Creep"));

    QTest::mouseClick(playlist->viewport(), Qt::LeftButton, {}, rowCentre(*playlist, 0));
    EXPECT_THAT(t.main().playList.selectedRows(), ElementsAre(0));
    playlist->setFocus();
    QTest::keyClick(playlist, Qt::Key_Delete);
    EXPECT_THAT(t.main().playList.items(), ElementsAre("Creep"));
    EXPECT_THAT(shownRows(*playlist), ElementsAre("Creep"));
}

TEST(QtEvents, TheTimerTicksThroughTheDispatcher) {
    TestApp t;  // an empty library: the tick shows the first-run hint
    QTimer* timer = t.window().timerFor(t.main().mainTimer);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 15);  // 1 ms asked, 15 ms delivered
    t.main().lblFirstTime.setVisible(false);
    QTRY_VERIFY_WITH_TIMEOUT(t.main().lblFirstTime.visible(), 2000);
    EXPECT_TRUE(t.window().widgetFor("lblFirstTime")->isVisible());
    // A disabled timer stops.
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
    QAction* search = menuAction(*t.window().menuBar(), "&File", "&Search");
    ASSERT_NE(search, nullptr);
    search->trigger();
    FormWindow* dialog = t.binding().window(kFrmSearch);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Search"));
    dialog->close();
    EXPECT_FALSE(t.app().forms().isLoaded(kFrmSearch));
    EXPECT_EQ(t.binding().window(kFrmSearch), nullptr);
    QApplication::processEvents();
    // Touching it again builds a new window, hidden.
    search->trigger();
    ASSERT_NE(t.binding().window(kFrmSearch), nullptr);
    EXPECT_TRUE(t.binding().window(kFrmSearch)->isVisible());
}

TEST(QtEvents, OptionsDialogOkRescansTheLibrary) {
    TestApp t(kTitles);
    t.makeFile("more", "Zebra.mp3");
    QAction* options = menuAction(*t.window().menuBar(), "&File", "&Options");
    ASSERT_NE(options, nullptr);
    options->trigger();
    FormWindow& dialog = t.window(kFrmOptions);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.clientArea()->size(), QSize(680, 327));  // 10200 x 4905 twips
    EXPECT_EQ(dialog.widgetFor("mDir(13)")->geometry(), QRect(232, 120, 185, 19));
    auto* box = qobject_cast<QLineEdit*>(dialog.widgetFor("mDir(1)"));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, QString::fromStdString(t.dir() + "/more"));
    EXPECT_EQ(t.app().frmOptions().mDir[1]->text(), t.dir() + "/more");
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.widgetFor("cmdApply")), Qt::LeftButton);
    EXPECT_FALSE(t.app().forms().isLoaded(kFrmOptions));
    EXPECT_EQ(t.main().hiddenSongList.listCount(), 6);
    EXPECT_EQ(t.widget<ListView>("hiddenSongList")->model()->rowCount(), 6);
}

}  // namespace
}  // namespace vollo::qt::test

namespace vollo::qt::test {
namespace {

QModelIndex rowNamed(QListWidget& list, const QString& text) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text() == text) {
            return list.model()->index(row, 0);
        }
    }
    return {};
}

TEST(QtEvents, TheDirectoryPickerOpensFoldersAndGoesUp) {
    TestApp t(kTitles);
    t.makeFile("music/sub", "x.mp3");
    QAction* options = menuAction(*t.window().menuBar(), "&File", "&Options");
    ASSERT_NE(options, nullptr);
    options->trigger();
    QTest::mouseClick(qobject_cast<QPushButton*>(t.window(kFrmOptions).widgetFor("cmdBrowse(0)")),
                      Qt::LeftButton);
    FormWindow& picker = t.window(kFrmBrowse);
    EXPECT_TRUE(picker.isVisible());
    auto* folders = qobject_cast<DirListWidget*>(picker.widgetFor("Dir1"));
    ASSERT_NE(folders, nullptr);
    auto& dir = static_cast<DirList&>(*t.app().forms().loaded(kFrmBrowse)->find("Dir1"));
    EXPECT_EQ(dir.path(), t.dir() + "/music");
    // The path's folders from the root down, the current one highlighted, then its subfolders.
    EXPECT_EQ(folders->item(0)->text(), QStringLiteral("/"));
    EXPECT_EQ(folders->currentItem()->text(), QStringLiteral("music"));
    const QModelIndex sub = rowNamed(*folders, QStringLiteral("sub"));
    ASSERT_TRUE(sub.isValid());
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualRect(sub).center());
    EXPECT_EQ(dir.path(), t.dir() + "/music/sub");
    EXPECT_EQ(folders->currentItem()->text(), QStringLiteral("sub"));
    // Double-clicking a folder of the path goes back up to it.
    const QModelIndex music = rowNamed(*folders, QStringLiteral("music"));
    ASSERT_TRUE(music.isValid());
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualRect(music).center());
    EXPECT_EQ(dir.path(), t.dir() + "/music");
    // OK fills the box the picker was opened for.
    QTest::mouseClick(qobject_cast<QPushButton*>(picker.widgetFor("cmdOK")), Qt::LeftButton);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(t.app().frmOptions().mDir[0]->text(), t.dir() + "/music");
    // Choosing a drive in the drop-down list runs Drive1_Change.
    auto* drives = qobject_cast<QComboBox*>(picker.widgetFor("Drive1"));
    ASSERT_NE(drives, nullptr);
    auto& drive = static_cast<DriveList&>(*t.app().forms().loaded(kFrmBrowse)->find("Drive1"));
    ASSERT_EQ(drives->count(), static_cast<int>(drive.drives().size()));
    EXPECT_EQ(drives->currentText().toStdString(), drive.drive());
    if (drives->count() > 1) {
        const int other = drives->currentIndex() == 0 ? 1 : 0;
        emit drives->activated(other);
        EXPECT_EQ(drive.drive(), drive.drives()[static_cast<size_t>(other)]);
        EXPECT_EQ(drives->currentIndex(), other);
    }
}

}  // namespace
}  // namespace vollo::qt::test
