// What a desktop user expects beyond the window design: dialog keys, dialogs
// above the main window, disabled controls that look disabled, long titles on
// one line, the loaded entry in bold, and the file dialogs' suffix and folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QHelpEvent>
#include <QKeySequence>
#include <QToolTip>
#include <fstream>

#include "platform/qt/list_view.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/widgets.h"
#include "qt_helpers.h"

namespace vollo::qt::test {
namespace {

using ::testing::ElementsAre;

const std::vector<std::string> kSongs = {"Angie", "Blue Moon", "Creep"};

TEST(QtDialogs, EnterAndEscapeActAsTheDialogButtons) {
    // The focused control ("" none); the button handler run ("" none, "closed": the window closes).
    struct Case {
        const char *form, *focus;
        Qt::Key key;
        const char* pressed;
    };
    const Case cases[] = {
        // clang-format off
        {kFrmOptions, "chkConfirmExit", Qt::Key_Return, "cmdApply_Click"},
        {kFrmOptions, "cmdCancel", Qt::Key_Return, "cmdCancel_Click"},  // the focused button
        {kFrmOptions, "mDir(0)", Qt::Key_Escape, "cmdCancel_Click"},
        {kFrmBrowse, "Drive1", Qt::Key_Enter, "cmdOK_Click"}, {kFrmBrowse, "Drive1", Qt::Key_Escape, "cmdCancel_Click"},
        {kFrmSearch, "lstResults", Qt::Key_Return, "cmdGo_Click"},
        {kFrmSearch, "txtSearch", Qt::Key_Return, ""},  // the box's own key handler runs Go, once
        {kFrmSearch, "txtSearch", Qt::Key_Escape, "closed"},
        {kFrmAbout, "", Qt::Key_Return, "cmdOK_Click"}, {kFrmAbout, "", Qt::Key_Escape, "closed"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.form) + " " + c.focus + " " +
                     QKeySequence(c.key).toString().toStdString());
        TestApp t(kSongs);
        if (c.form == std::string(kFrmAbout)) {
            choose(t, "&Help", "&About Vollo");
        } else {
            t.app().forms().dispatch([&] { t.app().forms().loaded(c.form)->show(); });
        }
        Form& form = *t.app().forms().loaded(c.form);
        FormWindow& dialog = t.window(c.form);
        // Above the main window, which stays usable; Vollo's icon.
        EXPECT_EQ(dialog.parentWidget(), &t.window());
        EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
        EXPECT_FALSE(dialog.windowIcon().isNull());

        std::vector<std::string> ran;
        for (const char* name : {"cmdApply_Click", "cmdCancel_Click", "cmdOK_Click", "cmdGo_Click"}) {
            if (form.handler(name)) {
                form.on(name, [&ran, name](EventArgs&) { ran.emplace_back(name); });
            }
        }
        QWidget* target = *c.focus ? dialog.widgetFor(c.focus) : &dialog;
        QApplication::setActiveWindow(&dialog);
        target->setFocus();
        QTest::keyClick(target, c.key);
        if (c.pressed == std::string("closed")) {
            EXPECT_FALSE(t.app().forms().isLoaded(c.form));
        } else {
            EXPECT_EQ(ran, *c.pressed ? std::vector<std::string>{c.pressed} : std::vector<std::string>{});
        }
    }
}

TEST(QtLook, DisabledCaptionsLookDisabledAndLongTitlesKeepToOneLine) {
    TestApp t(kSongs);
    for (const char* key :
         {"cmdAdd", "cmdRemove", "cmdMoveToTop", "cmdMoveUp", "cmdMoveDown", "cmdMoveToBottom"}) {
        SCOPED_TRACE(key);
        Control& control = *t.main().find(key);
        control.setEnabled(true);
        const auto enabled = greyRange(*t.window().widgetFor(control));
        control.setEnabled(false);
        const auto disabled = greyRange(*t.window().widgetFor(control));
        // Lighter than the caption drawn while enabled, yet still drawn on the face.
        EXPECT_GT(disabled.first, enabled.first + 40);
        EXPECT_LT(disabled.first, disabled.second - 40);
    }

    // One line, cut with "…", the whole title as the tooltip; nothing of a
    // second line in the box or below it, where the time stands.
    const std::string title =
        "Wish You Were Here (live at the Empire Pool, Wembley, November 1974, remastered)";
    t.main().lblSongTime.setCaption("");
    t.main().lblSongName.setCaption(title);
    auto* name = t.widget<LabelWidget>("lblSongName");
    EXPECT_TRUE(name->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(name->toolTip(), QString::fromStdString(title));
    const QImage panel = t.window().widgetFor("Frame1")->grab().toImage();
    int painted = 0;
    for (int y = name->y() + QFontMetrics(name->font()).lineSpacing(); y < name->y() + 2 * name->height();
         ++y) {
        for (int x = name->x(); x < name->x() + name->width(); ++x) {
            painted += panel.pixelColor(x, y) != QColor(0x80, 0x80, 0x80);
        }
    }
    EXPECT_EQ(painted, 0);

    // A playlist row too long for the list shows its whole title when pointed at.
    t.main().appendToPlaylist(title, "/music/long.mp3");
    auto* list = t.widget<ListView>("playList");
    const QPoint row = rowCentre(*list, 0);
    QHelpEvent help(QEvent::ToolTip, row, list->viewport()->mapToGlobal(row));
    QApplication::sendEvent(list->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(title));

    // The first-run hint is opaque, on the heading's grey.
    QWidget* hint = t.window().widgetFor("lblFirstTime");
    EXPECT_EQ(hint->grab().toImage().pixelColor(hint->width() - 1, hint->height() - 1),
              QColor(0x40, 0x40, 0x40));
}

TEST(QtLook, PictureAndSymbolControlsAreNamedByTheirTooltips) {
    TestApp t(kSongs);
    for (const char* key : {"cmdPlay", "cmdPause", "cmdStop", "tracker", "trackee", "volume", "volumeTrackee",
                            "cmdMoveToTop", "cmdMoveUp", "cmdMoveDown", "cmdMoveToBottom"}) {
        QWidget* widget = t.window().widgetFor(key);
        EXPECT_FALSE(widget->toolTip().isEmpty()) << key;
        EXPECT_EQ(widget->accessibleName(), widget->toolTip()) << key;
    }
    for (const char* key : {"cmdAdd", "cmdRemove", "shuffle", "repeat", "txtFilter"}) {
        EXPECT_FALSE(t.window().widgetFor(key)->toolTip().isEmpty()) << key;
        EXPECT_TRUE(t.window().widgetFor(key)->accessibleName().isEmpty()) << key;  // their captions say it
    }
}

TEST(QtPlaylist, TheLoadedEntryIsBoldThroughEnterMovesSortAndOpenAndPauseShowsHeld) {
    TestApp t(kSongs);
    t.window().timerFor(t.main().mainTimer)->stop();  // no tick moves on by itself
    auto* list = t.widget<ListView>("playList");
    for (const std::string song : {"Creep", "Angie", "Blue Moon"}) {
        t.main().appendToPlaylist(song, t.dir() + "/music/" + song + ".mp3");
    }
    // Enter plays the selected entry as a double-click does.
    t.main().playList.setSelection({1});
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(t.main().currentSong, 1);
    EXPECT_THAT(boldRows(*list), ElementsAre(1));
    // Pause is shown held down while the song is paused.
    auto* pause = t.widget<QPushButton>("cmdPause");
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_TRUE(pause->isChecked());
    QTest::mouseClick(t.widget<QPushButton>("cmdPlay"), Qt::LeftButton);
    EXPECT_FALSE(pause->isChecked());
    t.window().run([&] { t.main().cmdMoveToTop.click(); });
    EXPECT_THAT(boldRows(*list), ElementsAre(0));
    choose(t, "&Playlist", "&Sort Alphabetically");
    EXPECT_EQ(t.main().playList.list(t.main().currentSong), "Angie");
    EXPECT_THAT(boldRows(*list), ElementsAre(0));
    t.window().run([&] { t.main().cmdMoveDown.click(); });  // nothing selected after the sort
    EXPECT_THAT(boldRows(*list), ElementsAre(0));
    const std::string playlist = t.dir() + "/two.m3u";
    std::ofstream(playlist) << "music/Creep.mp3\r\nmusic/Angie.mp3\r\n";
    t.dialogs.choices.push_back(playlist);
    choose(t, "&Playlist", "&Open");
    EXPECT_EQ(t.main().playList.listCount(), 2);
    EXPECT_TRUE(boldRows(*list).empty());  // nothing of the new playlist is loaded
}

TEST(QtServices, SaveAddsTheFiltersExtensionAndDialogsStartInTheLastFolder) {
    QTemporaryDir first, second;
    QtFileDialog dialogs;
    QString startedIn;  // where each dialog started
    const std::pair<const char*, const char*> cases[] = {
        {"mix", "mix.m3u"}, {"mix.list", "mix.list"}, {"mix.m3u", "mix.m3u"}};
    for (const auto& [typed, saved] : cases) {
        answerNextFileDialog(first.path() + "/" + typed, startedIn);
        EXPECT_EQ(dialogs.save({"Save Playlist", "", "Playlists|*.m3u"}),
                  (first.path() + "/" + saved).toStdString());
    }
    // The open dialog starts where the last file was chosen, not in the current directory.
    std::ofstream((second.path() + "/old.m3u").toStdString());
    answerNextFileDialog(second.path() + "/old.m3u", startedIn);
    EXPECT_TRUE(dialogs.open({"Open Playlist", "", "Playlists|*.m3u"}).has_value());
    EXPECT_EQ(startedIn, first.path());
    answerNextFileDialog("old.m3u", startedIn);
    EXPECT_EQ(dialogs.open({"Open Playlist", "", "Playlists|*.m3u"}),
              (second.path() + "/old.m3u").toStdString());
    EXPECT_EQ(startedIn, second.path());
}

}  // namespace
}  // namespace vollo::qt::test
