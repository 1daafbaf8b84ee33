#include "platform/qt/form_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/key_codes.h"
#include "platform/qt/list_view.h"
#include "platform/qt/pictures.h"
#include "platform/qt/widgets.h"

namespace vollo::qt {

namespace {

Qt::WindowFlags flagsFor(Form::Border border, bool isMain) {
    switch (border) {
        case Form::Border::Sizable:
            return Qt::Window;
        case Form::Border::ToolWindow:
            return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        case Form::Border::Fixed:
            break;
    }
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (isMain) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    return flags;
}

void setPaletteColor(QWidget& widget, QPalette::ColorRole role, std::optional<DesignColor> color) {
    QPalette palette = widget.palette();
    if (color) {
        palette.setColor(role, designColor(*color));
    } else {
        palette.setColor(role, QPalette().color(role));
    }
    widget.setPalette(palette);
}

int buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

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

FormWindow::FormWindow(FormRegistry& registry, Form& form, const Units& units, bool isMain)
    : QWidget(nullptr, flagsFor(form.border, isMain)),
      registry_(registry),
      form_(&form),
      formName_(form.name()),
      units_(units),
      isMain_(isMain) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    client_ = new Surface(this);
    client_->setObjectName(QStringLiteral("client"));
    if (form.backColor) {
        client_->setBackColor(designColor(*form.backColor));
    } else {
        client_->setAutoFillBackground(true);
    }
    client_->setPicture(form.picture);
    client_->setFont(fontFor(form.font()));
    layout->addWidget(client_);
    controlOf_.insert(client_, nullptr);
    watchDrops(*client_);

    buildMenus();
    if (menuBar_) {
        layout->setMenuBar(menuBar_);
    }
    for (const auto& control : form.controls()) {
        if (control->kind() != ControlKind::Menu) {
            buildControl(*control);
        }
    }
    applyTabOrder();

    setWindowTitle(shownText(form.caption()));
    applyWindowGeometry();
    form.setObserver(this);
    for (const auto& control : form.controls()) {
        control->setObserver(this);
    }
}

FormWindow::~FormWindow() {
    detach();
}

QWidget* FormWindow::clientArea() const {
    return client_;
}

QWidget* FormWindow::widgetFor(const Control& control) const {
    const auto it = bound_.find(&control);
    return it == bound_.end() ? nullptr : it->second.widget;
}

QWidget* FormWindow::widgetFor(const std::string& controlKey) const {
    if (!form_) {
        return nullptr;
    }
    const Control* control = form_->find(controlKey);
    return control ? widgetFor(*control) : nullptr;
}

QAction* FormWindow::actionFor(const Control& control) const {
    const auto it = bound_.find(&control);
    return it == bound_.end() ? nullptr : it->second.action;
}

QTimer* FormWindow::timerFor(const Control& control) const {
    const auto it = bound_.find(&control);
    return it == bound_.end() ? nullptr : it->second.timer;
}

void FormWindow::detach() {
    if (!form_) {
        return;
    }
    form_->setObserver(nullptr);
    for (auto& [control, bound] : bound_) {
        const_cast<Control*>(control)->setObserver(nullptr);
        if (auto* list = qobject_cast<ListView*>(bound.widget)) {
            list->detach();
        } else if (auto* edit = qobject_cast<LineEdit*>(bound.widget)) {
            edit->detach();
        } else if (auto* picture = qobject_cast<PictureWidget*>(bound.widget)) {
            picture->detach();
        } else if (auto* dir = qobject_cast<DirListWidget*>(bound.widget)) {
            dir->detach();
        }
        if (bound.timer) {
            bound.timer->stop();
        }
        if (bound.action) {
            bound.action->disconnect(this);
        }
        if (bound.menu) {
            bound.menu->disconnect(this);
        }
    }
    controlOf_.clear();
    dragPlaces_.clear();
    form_ = nullptr;
}

bool FormWindow::run(const std::function<void()>& fn) {
    if (!form_) {
        return false;
    }
    return registry_.dispatch([this, &fn] {
        if (form_) {
            fn();
        }
    });
}

bool FormWindow::raiseEvent(Control& control, const std::string& event, EventArgs args) {
    return run([&control, &event, &args] { control.raise(event, args); });
}

bool FormWindow::raiseKeyDown(Control& control, const QKeyEvent& event) {
    const int code = virtualKeyCode(event);
    if (code == 0) {
        return false;
    }
    EventArgs args;
    args.args = {Arg(static_cast<double>(code)), Arg(static_cast<double>(shiftState(event)))};
    return raiseEvent(control, "KeyDown", std::move(args));
}

bool FormWindow::raiseMouse(Control& control, const std::string& event, const QMouseEvent& mouse) {
    EventArgs args;
    const QPointF at = mouse.position();
    args.args = {Arg(static_cast<double>(buttonCode(mouse.button()))),
                 Arg(static_cast<double>(shiftState(0, mouse.modifiers()))), Arg(units_.twips(at.x())),
                 Arg(units_.twips(at.y()))};
    return raiseEvent(control, event, std::move(args));
}

QMimeData* FormWindow::dragData(const Control& control) {
    auto* data = new QMimeData;
    const std::string payload = std::to_string(QCoreApplication::applicationPid()) + "\n" +
                                control.form().name() + "\n" + control.key();
    data->setData(QString::fromLatin1(kControlMimeType), QByteArray::fromStdString(payload));
    return data;
}

Control* FormWindow::draggedControl(const QMimeData* data) const {
    if (!data || !data->hasFormat(QString::fromLatin1(kControlMimeType))) {
        return nullptr;
    }
    const std::string payload = data->data(QString::fromLatin1(kControlMimeType)).toStdString();
    const size_t first = payload.find('\n');
    const size_t second = first == std::string::npos ? first : payload.find('\n', first + 1);
    if (second == std::string::npos) {
        return nullptr;
    }
    // Only drags that started in this process.
    if (payload.substr(0, first) != std::to_string(QCoreApplication::applicationPid())) {
        return nullptr;
    }
    const Form* source = registry_.loaded(payload.substr(first + 1, second - first - 1));
    return source ? source->find(payload.substr(second + 1)) : nullptr;
}

void FormWindow::startDrag(Control& control, QWidget& widget, const QPoint& at) {
    auto* drag = new QDrag(&widget);
    drag->setMimeData(dragData(control));
    drag->setPixmap(dragOutline(widget.size()));
    drag->setHotSpot(at);
    drag->exec(Qt::MoveAction);
}

void FormWindow::watchDrops(QWidget& widget) {
    widget.setAcceptDrops(true);
    widget.installEventFilter(this);
}

void FormWindow::buildMenus() {
    std::vector<MenuEntry*> tops;
    for (const auto& control : form_->controls()) {
        if (control->kind() == ControlKind::Menu && !control->container()) {
            tops.push_back(static_cast<MenuEntry*>(control.get()));
        }
    }
    if (tops.empty()) {
        return;
    }
    menuBar_ = new QMenuBar(this);
    for (MenuEntry* top : tops) {
        QMenu* menu = menuBar_->addMenu(shownText(top->caption()));
        Bound& bound = bound_[top];
        bound.menu = menu;
        bound.action = menu->menuAction();
        connect(menu, &QMenu::aboutToShow, this, [this, top] { raiseEvent(*top, "Click"); });
        for (MenuEntry* entry : top->entries) {
            buildMenuEntry(*entry, *menu);
        }
        applyMenu(*top, bound);
    }
}

void FormWindow::buildMenuEntry(MenuEntry& entry, QMenu& parent) {
    Bound& bound = bound_[&entry];
    if (entry.isSeparator()) {
        bound.action = parent.addSeparator();
    } else if (!entry.entries.empty()) {
        bound.menu = parent.addMenu(shownText(entry.caption()));
        bound.action = bound.menu->menuAction();
        for (MenuEntry* child : entry.entries) {
            buildMenuEntry(*child, *bound.menu);
        }
    } else {
        bound.action = parent.addAction(shownText(entry.caption()));
        connect(bound.action, &QAction::triggered, this, [this, &entry] {
            run([&entry] { entry.click(); });
            // The check mark is the control's, whatever the action toggled.
            if (form_) {
                applyMenu(entry, bound_[&entry]);
            }
        });
    }
    applyMenu(entry, bound);
}

void FormWindow::buildControl(Control& control) {
    if (bound_.count(&control)) {
        return;
    }
    QWidget* parent = client_;
    if (Control* container = control.container()) {
        buildControl(*container);
        if (QWidget* panel = widgetFor(*container)) {
            parent = panel;
        }
    }
    Bound& bound = bound_[&control];
    QWidget* widget = nullptr;
    switch (control.kind()) {
        case ControlKind::ListBox: {
            auto* view = new ListView(*this, static_cast<ListBox&>(control), parent);
            watchDrops(*view->viewport());
            controlOf_.insert(view->viewport(), &control);
            widget = view;
            break;
        }
        case ControlKind::TextBox:
            widget = new LineEdit(*this, static_cast<TextBox&>(control), parent);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(labelAlignment(static_cast<Label&>(control).alignment));
            widget = label;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this,
                    [this, &control] { run([&control] { static_cast<CommandButton&>(control).click(); }); });
            widget = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(parent);
            connect(box, &QCheckBox::clicked, this, [this, &control, box](bool checked) {
                QPointer<QCheckBox> alive(box);
                run([&control, checked] { static_cast<CheckBox&>(control).setValue(checked ? 1 : 0); });
                if (alive && form_) {
                    apply(control, Prop::Value);
                }
            });
            widget = box;
            break;
        }
        case ControlKind::Frame:
            widget = new Surface(parent);
            break;
        case ControlKind::Picture:
            widget = new PictureWidget(*this, static_cast<Picture&>(control), parent);
            break;
        case ControlKind::DirList:
            widget = new DirListWidget(*this, static_cast<DirList&>(control), parent);
            break;
        case ControlKind::DriveList: {
            auto* combo = new QComboBox(parent);
            connect(combo, &QComboBox::activated, this, [this, &control, combo](int row) {
                if (!form_) {
                    return;
                }
                QPointer<QComboBox> alive(combo);
                auto& drives = static_cast<DriveList&>(control);
                if (row >= 0 && row < static_cast<int>(drives.drives().size())) {
                    const std::string drive = drives.drives()[static_cast<size_t>(row)];
                    run([&drives, drive] { drives.setDrive(drive); });
                }
                if (alive && form_) {
                    apply(control, Prop::Drive);
                }
            });
            widget = combo;
            break;
        }
        case ControlKind::Timer: {
            bound.timer = new QTimer(this);
            auto& timer = static_cast<Timer&>(control);
            connect(bound.timer, &QTimer::timeout, this, [this, &timer] { run([&timer] { timer.tick(); }); });
            applyTimer(timer, bound);
            return;
        }
        case ControlKind::Menu:
        case ControlKind::FileDialog:
            return;
    }
    bound.widget = widget;
    widget->setObjectName(QString::fromStdString(control.key()));
    controlOf_.insert(widget, &control);
    watchDrops(*widget);
    for (Prop what : {Prop::Geometry, Prop::Font, Prop::Colors, Prop::Picture, Prop::Text, Prop::ToolTip,
                      Prop::Enabled, Prop::Value, Prop::Items, Prop::Path, Prop::Drive, Prop::Visible}) {
        apply(control, what);
    }
    if (auto* list = qobject_cast<ListView*>(widget)) {
        list->syncSelectionFromControl();
    }
}

void FormWindow::applyTabOrder() {
    if (!form_) {
        return;
    }
    QWidget* previous = nullptr;
    for (const std::string& key : form_->tabOrder) {
        QWidget* widget = widgetFor(key);
        if (!widget) {
            continue;
        }
        if (previous) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void FormWindow::applyWindowGeometry() {
    if (!form_) {
        return;
    }
    client_->setFixedSize(units_.pixels(form_->clientWidth()), units_.pixels(form_->clientHeight()));
    const QPoint place(units_.pixels(form_->left()), units_.pixels(form_->top()));
    if (pos() != place) {
        move(place);
    }
}

void FormWindow::formChanged(Form& form, Prop what) {
    if (&form != form_) {
        return;
    }
    switch (what) {
        case Prop::Text:
            setWindowTitle(shownText(form.caption()));
            break;
        case Prop::Geometry:
            applyWindowGeometry();
            break;
        case Prop::Visible:
            if (form.visible()) {
                show();
                QWidget::raise();
                activateWindow();
            } else {
                hide();
            }
            break;
        case Prop::Font:
            client_->setFont(fontFor(form.font()));
            break;
        default:
            break;
    }
}

void FormWindow::formBroughtToFront(Form& form) {
    if (&form == form_ && isVisible()) {
        QWidget::raise();
        activateWindow();
    }
}

void FormWindow::propertyChanged(Control& control, Prop what) {
    if (form_) {
        apply(control, what);
    }
}

void FormWindow::listChanged(ListBox& list, const ListChange& change) {
    if (auto* view = qobject_cast<ListView*>(widgetFor(list))) {
        view->itemsChanged(change);
    }
}

void FormWindow::apply(Control& control, Prop what) {
    const auto it = bound_.find(&control);
    if (it == bound_.end()) {
        return;
    }
    Bound& bound = it->second;
    if (control.kind() == ControlKind::Menu) {
        applyMenu(static_cast<MenuEntry&>(control), bound);
        return;
    }
    if (bound.timer) {
        applyTimer(static_cast<Timer&>(control), bound);
        return;
    }
    QWidget* widget = bound.widget;
    if (!widget) {
        return;
    }
    switch (what) {
        case Prop::Geometry:
            widget->setGeometry(
                units_.rect(control.left(), control.top(), control.width(), control.height()));
            break;
        case Prop::Visible:
            widget->setVisible(control.visible());
            break;
        case Prop::Enabled:
            widget->setEnabled(control.enabled());
            break;
        case Prop::Font:
            widget->setFont(fontFor(control.font()));
            if (auto* list = qobject_cast<ListView*>(widget)) {
                list->fontChanged();
            }
            break;
        case Prop::ToolTip:
            widget->setToolTip(shownText(control.toolTipText()));
            break;
        case Prop::Colors:
            applyColors(control, *widget);
            break;
        case Prop::Picture:
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                button->setIcon(control.picture().empty() ? QIcon() : buttonIcon(control.picture()));
                const int side = std::max(8, std::min(widget->width(), widget->height()) * 2 / 3);
                button->setIconSize(QSize(side, side));
            } else if (auto* surface = qobject_cast<Surface*>(widget)) {
                surface->setPicture(control.picture());
            }
            break;
        case Prop::Text:
            applyText(control, bound);
            break;
        case Prop::Value:
            if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                const int value = static_cast<CheckBox&>(control).value();
                box->setTristate(value == 2);
                box->setCheckState(value == 1   ? Qt::Checked
                                   : value == 2 ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
            }
            break;
        case Prop::Items:
        case Prop::Drive:
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                const auto& drives = static_cast<DriveList&>(control);
                if (what == Prop::Items) {
                    const QSignalBlocker quiet(combo);
                    combo->clear();
                    for (const std::string& drive : drives.drives()) {
                        combo->addItem(shownText(drive));
                    }
                }
                const auto& list = drives.drives();
                const auto found = std::find(list.begin(), list.end(), drives.drive());
                const QSignalBlocker quiet(combo);
                combo->setCurrentIndex(found == list.end() ? -1 : static_cast<int>(found - list.begin()));
            }
            break;
        case Prop::Selection:
            if (auto* list = qobject_cast<ListView*>(widget)) {
                list->selectionChangedInControl();
            }
            break;
        case Prop::TopIndex:
            if (auto* list = qobject_cast<ListView*>(widget)) {
                list->scrollToTopIndex();
            }
            break;
        case Prop::Path:
            if (auto* dir = qobject_cast<DirListWidget*>(widget)) {
                dir->syncFromControl();
            }
            break;
        case Prop::Checked:
            break;
    }
}

void FormWindow::applyColors(Control& control, QWidget& widget) {
    const auto fore = control.foreColor();
    const auto back = control.backColor();
    switch (control.kind()) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
            // A check box paints its background in the Button role, a label in Window.
            setPaletteColor(widget, widget.foregroundRole(), fore);
            setPaletteColor(widget, widget.backgroundRole(), back);
            widget.setAutoFillBackground(back.has_value());
            break;
        case ControlKind::CommandButton:
            setPaletteColor(widget, QPalette::ButtonText, fore);
            setPaletteColor(widget, QPalette::Button, back);
            break;
        case ControlKind::TextBox:
        case ControlKind::ListBox:
        case ControlKind::DirList:
        case ControlKind::DriveList:
            setPaletteColor(widget, QPalette::Text, fore);
            setPaletteColor(widget, QPalette::Base, back);
            break;
        case ControlKind::Frame:
        case ControlKind::Picture:
            if (auto* surface = qobject_cast<Surface*>(&widget)) {
                surface->setBackColor(back ? designColor(*back) : QColor());
            }
            break;
        default:
            break;
    }
}

void FormWindow::applyText(Control& control, Bound& bound) {
    const QString text = shownText(control.caption());
    if (auto* label = qobject_cast<QLabel*>(bound.widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(bound.widget)) {
        button->setText(text);
    } else if (auto* box = qobject_cast<QCheckBox*>(bound.widget)) {
        box->setText(text);
    } else if (auto* edit = qobject_cast<LineEdit*>(bound.widget)) {
        edit->syncFromControl();
    }
}

void FormWindow::applyMenu(MenuEntry& entry, Bound& bound) {
    if (!bound.action) {
        return;
    }
    if (!entry.isSeparator()) {
        bound.action->setText(shownText(entry.caption()));
    }
    // Entries show a check mark only while checked, as the desktop's menus do.
    bound.action->setCheckable(entry.checked());
    bound.action->setChecked(entry.checked());
    bound.action->setEnabled(entry.enabled());
    bound.action->setVisible(entry.visible());
}

void FormWindow::applyTimer(Timer& timer, Bound& bound) {
    // Window timers never fire more often than every 15 ms.
    const bool running = timer.enabled() && timer.intervalMs > 0;
    if (!running) {
        bound.timer->stop();
        return;
    }
    const int interval = std::max(timer.intervalMs, 15);
    if (!bound.timer->isActive() || bound.timer->interval() != interval) {
        bound.timer->start(interval);
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (registry_.ended()) {
        event->accept();
        return;
    }
    if (!form_) {
        return;
    }
    if (isMain_) {
        int cancel = 0;
        const bool ran = run([this, &cancel] {
            EventArgs args;
            form_->call("Form_Unload", args);
            cancel = args.cancel;
        });
        if (!ran || cancel != 0) {
            return;
        }
        event->accept();
        registry_.endProcess();
        return;
    }
    const std::string name = formName_;
    run([this, name] { registry_.unload(name); });
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!form_ || !isVisible()) {
        return;
    }
    // Only a move the window system made (the user dragging the frame) is
    // reported; the form's own place would come back rounded.
    const QPoint place = pos();
    if (place.x() != units_.pixels(form_->left()) || place.y() != units_.pixels(form_->top())) {
        form_->windowMoved(static_cast<float>(units_.twips(place.x())),
                           static_cast<float>(units_.twips(place.y())));
    }
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            return handleDrag(watched, event);
        default:
            return QWidget::eventFilter(watched, event);
    }
}

bool FormWindow::handleDrag(QObject* watched, QEvent* event) {
    if (!form_ || !controlOf_.contains(watched)) {
        return false;
    }
    // The control under the pointer: a list's viewport stands for its list;
    // the client area for the form itself.
    Control* target = controlOf_.value(watched);
    auto* receiver = static_cast<QWidget*>(watched);
    QWidget* frame = target ? widgetFor(*target) : client_;
    const auto send = [this, target](const std::string& event, EventArgs args) {
        run([this, target, &event, &args] {
            if (target) {
                target->raise(event, args);
            } else {
                form_->call("Form_" + event, args);
            }
        });
    };

    if (event->type() == QEvent::DragLeave) {
        const auto place = dragPlaces_.find(watched);
        if (place == dragPlaces_.end()) {
            return true;
        }
        const DragPlace last = place.value();
        dragPlaces_.erase(place);
        if (last.source) {
            EventArgs args;
            args.args = {Arg(last.source), Arg(last.x), Arg(last.y), Arg(1.0)};
            send("DragOver", std::move(args));
        }
        return true;
    }

    auto* drop = static_cast<QDropEvent*>(event);
    Control* source = draggedControl(drop->mimeData());
    if (!source) {
        drop->ignore();
        return true;
    }
    const QPoint at = receiver->mapTo(frame, drop->position().toPoint());
    const double x = units_.twips(at.x());
    const double y = units_.twips(at.y());
    drop->setDropAction(Qt::MoveAction);
    drop->accept();
    EventArgs args;
    if (event->type() == QEvent::Drop) {
        dragPlaces_.remove(watched);
        args.args = {Arg(source), Arg(x), Arg(y)};
        send("DragDrop", std::move(args));
    } else {
        const double state = event->type() == QEvent::DragEnter ? 0.0 : 2.0;
        dragPlaces_.insert(watched, DragPlace{source, x, y});
        args.args = {Arg(source), Arg(x), Arg(y), Arg(state)};
        send("DragOver", std::move(args));
    }
    return true;
}

}  // namespace vollo::qt
