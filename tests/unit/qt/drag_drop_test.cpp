// Drags of the knobs: drag-over and drop events reach the control under the
// pointer with the dragged control and the position in that control's twips.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include "platform/qt/drag_drop.h"
#include "test_app.h"

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
        t_ = std::make_unique<TestApp>(std::vector<std::string>{"Angie"});
        // Recorders in place of the handlers, to see what the binding delivers.
        FrmMain& main = t_->main();
        for (const char* name : {"volume_DragOver", "volume_DragDrop", "Frame1_DragDrop", "Form_DragDrop",
                                 "playList_DragDrop", "tracker_DragDrop"}) {
            record(name, false);
        }
        record("cmdAlpha_DragDrop", true);
        (void)main;
    }

    void record(const std::string& name, bool indexed) {
        t_->main().on(
            name,
            [this, name](EventArgs& e) {
                seen_.push_back({name, e.control(0), e.number(1), e.number(2),
                                 e.args.size() > 3 ? e.number(3) : -1.0, e.index});
            },
            indexed);
    }

    // A drag of the control entering widget and dropped there at pos: the
    // toolkit delivers drops only to the widget the drag entered.
    void drop(Control& dragged, QWidget& widget, QPoint pos) {
        send(QEvent::DragEnter, dragged, widget, pos);
        send(QEvent::Drop, dragged, widget, pos);
    }

    // Sends a drag event of the given control to widget at pos (widget pixels).
    void send(QEvent::Type type, Control& dragged, QWidget& widget, QPoint pos) {
        std::unique_ptr<QMimeData> data(DragDrop::dragData(dragged));
        sendData(type, *data, widget, pos);
    }

    void sendData(QEvent::Type type, QMimeData& data, QWidget& widget, QPoint pos) {
        if (type == QEvent::Drop) {
            QDropEvent drop(QPointF(pos), Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&widget, &drop);
            accepted_ = drop.isAccepted();
        } else if (type == QEvent::DragEnter) {
            QDragEnterEvent enter(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&widget, &enter);
            accepted_ = enter.isAccepted();
        } else {
            QDragMoveEvent move(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&widget, &move);
            accepted_ = move.isAccepted();
        }
    }

    std::unique_ptr<TestApp> t_;
    std::vector<Seen> seen_;
    bool accepted_ = false;
};

TEST_F(DragDropTest, OverAndDropReachTheControlUnderThePointerInItsTwips) {
    FormWindow& window = t_->window();
    FrmMain& main = t_->main();
    QWidget* bar = window.widgetFor("volume");
    send(QEvent::DragEnter, main.volumeTrackee, *bar, QPoint(10, 4));
    send(QEvent::DragMove, main.volumeTrackee, *bar, QPoint(20, 5));
    QDragLeaveEvent leave;
    QApplication::sendEvent(bar, &leave);
    drop(main.volumeTrackee, *bar, QPoint(30, 6));
    EXPECT_TRUE(accepted_);
    ASSERT_EQ(seen_.size(), 5u);
    EXPECT_EQ(seen_[0].handler, "volume_DragOver");
    EXPECT_EQ(seen_[0].source, &main.volumeTrackee);
    EXPECT_DOUBLE_EQ(seen_[0].x, 150.0);
    EXPECT_DOUBLE_EQ(seen_[0].y, 60.0);
    EXPECT_DOUBLE_EQ(seen_[0].state, 0.0);  // entering
    EXPECT_DOUBLE_EQ(seen_[1].x, 300.0);
    EXPECT_DOUBLE_EQ(seen_[1].state, 2.0);  // moving over
    EXPECT_DOUBLE_EQ(seen_[2].x, 300.0);    // leaving, at the last place
    EXPECT_DOUBLE_EQ(seen_[2].state, 1.0);
    EXPECT_DOUBLE_EQ(seen_[3].state, 0.0);
    EXPECT_EQ(seen_[4].handler, "volume_DragDrop");
    EXPECT_EQ(seen_[4].source, &main.volumeTrackee);
    EXPECT_DOUBLE_EQ(seen_[4].x, 450.0);
    EXPECT_DOUBLE_EQ(seen_[4].y, 90.0);
}

TEST_F(DragDropTest, PanelWindowListsAndKeysEachGetTheirOwnDrop) {
    FormWindow& window = t_->window();
    FrmMain& main = t_->main();
    drop(main.trackee, *window.widgetFor("Frame1"), QPoint(2, 3));
    drop(main.trackee, *window.clientArea(), QPoint(670, 5));
    // A list's rows are in its viewport; the position is the list's own.
    auto* playlist = window.widgetFor("playList");
    QWidget* viewport = playlist->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    ASSERT_NE(viewport, nullptr);
    drop(main.volumeTrackee, *viewport, QPoint(0, 0));
    drop(main.volumeTrackee, *window.widgetFor("cmdAlpha(5)"), QPoint(1, 1));
    drop(main.trackee, *window.widgetFor("tracker"), QPoint(100, 0));
    ASSERT_EQ(seen_.size(), 5u);
    EXPECT_EQ(seen_[0].handler, "Frame1_DragDrop");
    EXPECT_EQ(seen_[0].source, &main.trackee);
    EXPECT_DOUBLE_EQ(seen_[0].x, 30.0);
    EXPECT_EQ(seen_[1].handler, "Form_DragDrop");
    EXPECT_DOUBLE_EQ(seen_[1].x, 10050.0);
    EXPECT_EQ(seen_[2].handler, "playList_DragDrop");
    const QPoint offset = viewport->mapTo(playlist, QPoint(0, 0));
    EXPECT_DOUBLE_EQ(seen_[2].x, offset.x() * 15.0);
    EXPECT_EQ(seen_[3].handler, "cmdAlpha_DragDrop");
    EXPECT_EQ(seen_[3].index, 5);
    EXPECT_EQ(seen_[4].handler, "tracker_DragDrop");
    EXPECT_DOUBLE_EQ(seen_[4].x, 1500.0);
}

TEST_F(DragDropTest, DragsFromOtherProgramsAreRefused) {
    FormWindow& window = t_->window();
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(kControlMimeType), QByteArray("1\nfrmMain\nvolumeTrackee"));
    sendData(QEvent::DragEnter, foreign, *window.widgetFor("volume"), QPoint(5, 5));
    EXPECT_FALSE(accepted_);
    sendData(QEvent::Drop, foreign, *window.widgetFor("volume"), QPoint(5, 5));
    EXPECT_FALSE(accepted_);
    QMimeData text;
    text.setText(QStringLiteral("volumeTrackee"));
    sendData(QEvent::DragEnter, text, *window.widgetFor("volume"), QPoint(5, 5));
    EXPECT_FALSE(accepted_);
    EXPECT_TRUE(seen_.empty());
}

}  // namespace
}  // namespace vollo::qt::test
