// Drags of the knobs: drag-over and drop events reach the control under the
// pointer with the dragged control and the position in that control's twips.
#include <gtest/gtest.h>
#include "qt_helpers.h"

namespace vollo::qt::test {
namespace {

struct Seen {
    std::string handler;
    Control* source = nullptr;
    double x = 0, y = 0, state = -1;
    int index = -1;
};

class DragDropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Recorders in place of the handlers, to see what the binding delivers.
        for (const char* name : {"volume_DragOver", "volume_DragDrop", "Frame1_DragDrop", "Form_DragDrop",
                                 "playList_DragDrop", "tracker_DragDrop", "cmdAlpha_DragDrop"}) {
            const std::string handler = name;
            t_.main().on(
                handler,
                [this, handler](EventArgs& e) {
                    seen_.push_back({handler, e.control(0), e.number(1), e.number(2),
                                     e.args.size() > 3 ? e.number(3) : -1.0, e.index});
                },
                handler == "cmdAlpha_DragDrop");
        }
    }

    void expectSeen(size_t i, const std::string& handler, Control* source, double x) {
        ASSERT_LT(i, seen_.size());
        EXPECT_EQ(seen_[i].handler, handler) << i;
        EXPECT_EQ(seen_[i].source, source) << i;
        EXPECT_DOUBLE_EQ(seen_[i].x, x) << i;
    }

    TestApp t_{std::vector<std::string>{"Angie"}};
    std::vector<Seen> seen_;
};

TEST_F(DragDropTest, OverAndDropReachTheControlUnderThePointerInItsTwips) {
    FrmMain& main = t_.main();
    QWidget* bar = t_.window().widgetFor("volume");
    sendDrag<QDragEnterEvent>(main.volumeTrackee, *bar, QPoint(10, 4));
    sendDrag<QDragMoveEvent>(main.volumeTrackee, *bar, QPoint(20, 5));
    QDragLeaveEvent leave;
    QApplication::sendEvent(bar, &leave);
    EXPECT_TRUE(dropOn(main.volumeTrackee, *bar, QPoint(30, 6)));
    ASSERT_EQ(seen_.size(), 5u);
    // Entering (state 0), moving over (2), leaving at the last place (1), entering again, dropped.
    const double xs[] = {150, 300, 300, 450, 450}, states[] = {0, 2, 1, 0, -1};
    for (size_t i = 0; i < 5; ++i) {
        expectSeen(i, i < 4 ? "volume_DragOver" : "volume_DragDrop", &main.volumeTrackee, xs[i]);
        EXPECT_DOUBLE_EQ(seen_[i].state, states[i]) << i;
    }
    EXPECT_DOUBLE_EQ(seen_[0].y, 60.0);
    EXPECT_DOUBLE_EQ(seen_[4].y, 90.0);
}

TEST_F(DragDropTest, PanelWindowListsAndKeysEachGetTheirOwnDrop) {
    FormWindow& window = t_.window();
    FrmMain& main = t_.main();
    dropOn(main.trackee, *window.widgetFor("Frame1"), QPoint(2, 3));
    dropOn(main.trackee, *window.clientArea(), QPoint(670, 5));
    // A list's rows are in its viewport; the position is the list's own.
    auto* playlist = window.widgetFor("playList");
    QWidget* viewport = playlist->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    ASSERT_NE(viewport, nullptr);
    dropOn(main.volumeTrackee, *viewport, QPoint(0, 0));
    dropOn(main.volumeTrackee, *window.widgetFor("cmdAlpha(5)"), QPoint(1, 1));
    dropOn(main.trackee, *window.widgetFor("tracker"), QPoint(100, 0));
    ASSERT_EQ(seen_.size(), 5u);
    expectSeen(0, "Frame1_DragDrop", &main.trackee, 30.0);
    expectSeen(1, "Form_DragDrop", &main.trackee, 10050.0);
    expectSeen(2, "playList_DragDrop", &main.volumeTrackee,
               viewport->mapTo(playlist, QPoint(0, 0)).x() * 15.0);
    expectSeen(3, "cmdAlpha_DragDrop", &main.volumeTrackee, 15.0);
    EXPECT_EQ(seen_[3].index, 5);
    expectSeen(4, "tracker_DragDrop", &main.trackee, 1500.0);
}

TEST_F(DragDropTest, DragsFromOtherProgramsAreRefused) {
    QWidget& bar = *t_.window().widgetFor("volume");
    QMimeData foreign, text;
    foreign.setData(QString::fromLatin1(kControlMimeType), QByteArray("1\nfrmMain\nvolumeTrackee"));
    text.setText(QStringLiteral("volumeTrackee"));
    EXPECT_FALSE(sendDrag<QDragEnterEvent>(foreign, bar, QPoint(5, 5)));
    EXPECT_FALSE(sendDrag<QDropEvent>(foreign, bar, QPoint(5, 5)));
    EXPECT_FALSE(sendDrag<QDragEnterEvent>(text, bar, QPoint(5, 5)));
    EXPECT_TRUE(seen_.empty());
}

}  // namespace
}  // namespace vollo::qt::test
