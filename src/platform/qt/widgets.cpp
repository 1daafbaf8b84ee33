#include "platform/qt/widgets.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/qt/form_window.h"
#include "platform/qt/pictures.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

namespace {

constexpr int kIndentRole = Qt::UserRole + 1;

// Rows of the folder list stand indented by their depth, icon and all.
class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

  private:
    static int indent(const QModelIndex& index) { return 10 * index.data(kIndentRole).toInt(); }
};

Qt::Alignment labelAlignment(Label::Align align) {
    switch (align) {
        case Label::Align::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case Label::Align::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case Label::Align::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

LineEdit::LineEdit(FormWindow& window, TextBox& box, QWidget* parent)
    : QLineEdit(parent),
      window_(window),
      box_(&box) {
    setFrame(true);
    connect(this, &QLineEdit::textEdited, this, &LineEdit::userEdited);
}

void LineEdit::sync(Prop what) {
    if (what == Prop::Text) {
        syncText();
    }
}

void LineEdit::syncText() {
    if (!box_) {
        return;
    }
    const QString shown = shownText(box_->text());
    if (text() != shown) {
        // As a text set by code: the caret at the start, the text's beginning in view.
        setText(shown);
        setCursorPosition(0);
    }
}

void LineEdit::keyPressEvent(QKeyEvent* event) {
    QPointer<LineEdit> self(this);
    if (box_) {
        window_.raiseKeyDown(*box_, *event);
    }
    if (self && box_) {
        QLineEdit::keyPressEvent(event);
    }
}

void LineEdit::userEdited(const QString& text) {
    if (!box_) {
        return;
    }
    QPointer<LineEdit> self(this);
    TextBox* box = box_;
    const std::string bytes = bytesOf(text);
    window_.run([box, &bytes] { box->setText(bytes); });
    // A refused edit (another handler runs) or a handler that changed the text
    // again: the box shows the control's text.
    if (self) {
        syncText();
    }
}

LabelWidget::LabelWidget(Label& label, QWidget* parent)
    : QLabel(parent),
      label_(&label) {
    setTextFormat(Qt::PlainText);
    setAlignment(labelAlignment(label.alignment));
}

void LabelWidget::sync(Prop what) {
    if (!label_) {
        return;
    }
    if (what == Prop::Text) {
        full_ = shownText(label_->caption());
    }
    if (what == Prop::Text || what == Prop::Font || what == Prop::ToolTip) {
        layoutText();
    }
}

void LabelWidget::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    layoutText();
}

void LabelWidget::layoutText() {
    const QFontMetrics metrics(font());
    const bool oneLine = height() < 2 * metrics.lineSpacing();
    setWordWrap(!oneLine);
    const QString shown = oneLine ? metrics.elidedText(full_, Qt::ElideRight, contentsRect().width()) : full_;
    if (text() != shown) {
        setText(shown);
    }
    const QString own = label_ ? shownText(label_->toolTipText()) : QString();
    setToolTip(own.isEmpty() && shown != full_ ? full_ : own);
}

Button::Button(FormWindow& window, CommandButton& button, QWidget* parent)
    : QPushButton(parent),
      window_(window),
      button_(&button) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (CommandButton* button = button_) {
            window_.run([button] { button->click(); });
        }
    });
}

void Button::sync(Prop what) {
    if (!button_) {
        return;
    }
    if (what == Prop::Text) {
        setText(shownText(button_->caption()));
    } else if (what == Prop::Picture) {
        setIcon(button_->picture().empty() ? QIcon() : buttonIcon(button_->picture()));
        const int side = std::max(8, std::min(width(), height()) * 2 / 3);
        setIconSize(QSize(side, side));
    }
}

void Button::refresh() {
    if (!button_ || !button_->shownDown) {
        return;
    }
    // A button that can be shown held down is drawn checked while it is.
    setCheckable(true);
    const bool down = button_->shownDown();
    if (isChecked() != down) {
        setChecked(down);
    }
}

CheckBoxWidget::CheckBoxWidget(FormWindow& window, CheckBox& box, QWidget* parent)
    : QCheckBox(parent),
      window_(window),
      box_(&box) {
    connect(this, &QCheckBox::clicked, this, [this](bool checked) {
        CheckBox* box = box_;
        if (!box) {
            return;
        }
        QPointer<CheckBoxWidget> alive(this);
        window_.run([box, checked] { box->setValue(checked ? 1 : 0); });
        // A refused click shows the control's value again.
        if (alive) {
            sync(Prop::Value);
        }
    });
}

void CheckBoxWidget::sync(Prop what) {
    if (!box_) {
        return;
    }
    if (what == Prop::Text) {
        setText(shownText(box_->caption()));
    } else if (what == Prop::Value) {
        const int value = box_->value();
        setTristate(value == 2);
        setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

Surface::Surface(Control* control, QWidget* parent)
    : QWidget(parent),
      control_(control) {}

void Surface::setBackColor(const QColor& color) {
    back_ = color;
    update();
}

void Surface::setPicture(const std::string& name) {
    picture_ = name;
    drawn_ = QPixmap();
    update();
}

void Surface::sync(Prop what) {
    if (!control_) {
        return;
    }
    if (what == Prop::Colors) {
        const auto back = control_->backColor();
        setBackColor(back ? designColor(*back) : QColor());
    } else if (what == Prop::Picture) {
        setPicture(control_->picture());
    }
}

void Surface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (pictureIsOpaque(picture_)) {
        // Drawn where the window's own pixels lie, so that gradients round
        // as they do when drawn straight onto the window.
        const QPoint at = mapTo(window(), QPoint());
        const qreal ratio = devicePixelRatioF();
        if (drawnAt_ != at || drawn_.deviceIndependentSize() != QSizeF(size() + QSize(at.x(), at.y())) ||
            drawn_.devicePixelRatio() != ratio) {
            drawnAt_ = at;
            drawn_ = QPixmap((size() + QSize(at.x(), at.y())) * ratio);
            drawn_.setDevicePixelRatio(ratio);
            QPainter picture(&drawn_);
            picture.translate(at);
            paintPicture(picture, rect(), picture_);
        }
        painter.drawPixmap(event->rect(), drawn_, event->rect().translated(at));
        return;
    }
    if (back_.isValid()) {
        painter.fillRect(rect(), back_);
    }
    if (!picture_.empty()) {
        paintPicture(painter, rect(), picture_);
    }
}

PictureWidget::PictureWidget(FormWindow& window, Picture& picture, QWidget* parent)
    : Surface(&picture, parent),
      window_(window) {}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    auto* picture = static_cast<Picture*>(control_);
    if (!picture) {
        return;
    }
    if (picture->dragAutomatic) {
        // The automatic drag starts at once; the control itself gets no press.
        if (event->button() == Qt::LeftButton) {
            window_.startDrag(*picture, *this, event->position().toPoint());
        }
        return;
    }
    window_.raiseMouse(*picture, "MouseDown", *event);
}

DirListWidget::DirListWidget(FormWindow& window, DirList& dir, QWidget* parent)
    : QListWidget(parent),
      window_(window),
      dir_(&dir) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new IndentDelegate(this));
}

namespace {

// The folders from the root down to path: "/", "/home", "/home/me".
std::vector<std::string> foldersDownTo(const std::string& path) {
    std::vector<std::string> chain{"/"};
    for (size_t i = 1; i <= path.size(); ++i) {
        if ((i == path.size() || path[i] == '/') && path[i - 1] != '/') {
            chain.push_back(path.substr(0, i));
        }
    }
    return chain;
}

}  // namespace

void DirListWidget::sync(Prop what) {
    if (what == Prop::Path) {
        syncPath();
    }
}

void DirListWidget::syncPath() {
    clear();
    ancestors_ = 0;
    if (!dir_ || dir_->path().empty()) {
        return;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirIcon);
    int depth = 0;
    for (const std::string& folder : foldersDownTo(dir_->path())) {
        const std::string name = folder == "/" ? "/" : folder.substr(folder.rfind('/') + 1);
        auto* item = new QListWidgetItem(openIcon, shownText(name));
        item->setData(kIndentRole, depth++);
        addItem(item);
    }
    ancestors_ = count();
    for (const std::string& folder : dir_->folders()) {
        auto* item = new QListWidgetItem(closedIcon, shownText(folder));
        item->setData(kIndentRole, depth);
        addItem(item);
    }
    setCurrentRow(ancestors_ - 1);
}

void DirListWidget::open(int row) {
    if (!dir_ || row < 0 || row >= count()) {
        return;
    }
    DirList* dir = dir_;
    if (row < ancestors_) {
        // The path's own folders are rebuilt from its bytes, not from the shown text.
        const std::string target = foldersDownTo(dir->path()).at(static_cast<size_t>(row));
        window_.run([dir, target] { dir->setPath(target); });
    } else {
        const int folder = row - ancestors_;
        window_.run([dir, folder] { dir->openFolder(folder); });
    }
}

void DirListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<DirListWidget> self(this);
    const QModelIndex index = indexAt(event->position().toPoint());
    QListWidget::mouseDoubleClickEvent(event);
    if (self && index.isValid()) {
        open(index.row());
    }
}

void DirListWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        open(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

DriveCombo::DriveCombo(FormWindow& window, DriveList& drives, QWidget* parent)
    : QComboBox(parent),
      window_(window),
      drives_(&drives) {
    connect(this, &QComboBox::activated, this, &DriveCombo::chosen);
}

void DriveCombo::chosen(int row) {
    DriveList* drives = drives_;
    if (!drives) {
        return;
    }
    QPointer<DriveCombo> alive(this);
    if (row >= 0 && row < static_cast<int>(drives->drives().size())) {
        const std::string drive = drives->drives()[static_cast<size_t>(row)];
        window_.run([drives, drive] { drives->setDrive(drive); });
    }
    // A refused or reverted choice shows the control's drive again.
    if (alive) {
        sync(Prop::Drive);
    }
}

void DriveCombo::sync(Prop what) {
    if (!drives_ || (what != Prop::Items && what != Prop::Drive)) {
        return;
    }
    const QSignalBlocker quiet(this);
    const auto& list = drives_->drives();
    if (what == Prop::Items) {
        clear();
        for (const std::string& drive : list) {
            addItem(shownText(drive));
        }
    }
    const auto found = std::find(list.begin(), list.end(), drives_->drive());
    setCurrentIndex(found == list.end() ? -1 : static_cast<int>(found - list.begin()));
}

}  // namespace vollo::qt
