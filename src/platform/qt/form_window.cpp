#include "platform/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "platform/qt/drag_drop.h"
#include "platform/qt/form_menus.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/list_view.h"
#include "platform/qt/widgets.h"

namespace vollo::qt {

namespace {

// The main window is an ordinary window; the others are dialogs, which the
// window system keeps above the main window (their owner).
Qt::WindowFlags flagsFor(Form::Border border, bool isMain) {
    if (border == Form::Border::ToolWindow) {
        return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    }
    if (border == Form::Border::Sizable) {
        return isMain ? Qt::Window : Qt::Dialog;
    }
    Qt::WindowFlags flags =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return isMain ? flags | Qt::Window | Qt::WindowMinimizeButtonHint : flags | Qt::Dialog;
}

// Timers that ask for a short interval (the main timer asks for 1 ms) fire
// every 15 ms, the finest a window timer ever had, for a second after anything
// the user does, and every 100 ms otherwise: a tick then only moves the time
// display and the seek knob, and 66 wake-ups a second cost a playing program
// more than a point of a core.
constexpr int kActiveTickMs = 15;
constexpr int kQuietTickMs = 100;
constexpr qint64 kActiveForMs = 1000;

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

QColor mixed(const QColor& a, const QColor& b) {
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// The design's colours for a foreground and a background role. The design
// colours hold while the widget is enabled; disabled, the text is drawn half
// way to the background, so a disabled control looks disabled on any face.
void setPaletteColors(QWidget& widget, QPalette::ColorRole foreRole, std::optional<DesignColor> fore,
                      QPalette::ColorRole backRole, std::optional<DesignColor> back) {
    const QPalette desktop = QApplication::palette(&widget);
    QPalette palette = widget.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, foreRole, fore ? designColor(*fore) : desktop.color(group, foreRole));
        palette.setColor(group, backRole, back ? designColor(*back) : desktop.color(group, backRole));
    }
    palette.setColor(QPalette::Disabled, backRole,
                     back ? designColor(*back) : desktop.color(QPalette::Disabled, backRole));
    palette.setColor(QPalette::Disabled, foreRole,
                     fore || back ? mixed(palette.color(QPalette::Active, foreRole),
                                          palette.color(QPalette::Disabled, backRole))
                                  : desktop.color(QPalette::Disabled, foreRole));
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

}  // namespace

FormWindow::FormWindow(FormRegistry& registry, Form& form, const Units& units, bool isMain, QWidget* owner)
    : QWidget(owner, flagsFor(form.border, isMain)),
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

    client_ = new Surface(nullptr, this);
    client_->setObjectName(QStringLiteral("client"));
    if (form.backColor) {
        client_->setBackColor(designColor(*form.backColor));
    } else {
        client_->setAutoFillBackground(true);
    }
    client_->setPicture(form.picture);
    client_->setFont(fontFor(form.font()));
    layout->addWidget(client_);
    drag_ = new DragDrop(*this);
    drag_->watch(*client_, *client_, nullptr);

    menus_ = new FormMenus(*this, form);
    if (menus_->menuBar()) {
        layout->setMenuBar(menus_->menuBar());
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

QMenuBar* FormWindow::menuBar() const {
    return menus_->menuBar();
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
    return menus_->actionFor(control);
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
        if (bound.shows) {
            bound.shows->detach();
        }
        if (bound.timer) {
            bound.timer->stop();
        }
    }
    menus_->detach();
    drag_->detach();
    controlOf_.clear();
    refreshed_.clear();
    form_ = nullptr;
}

bool FormWindow::run(const std::function<void()>& fn) {
    if (!form_) {
        return false;
    }
    QPointer<FormWindow> alive(this);
    const bool ran = registry_.dispatch([this, &fn] {
        if (form_) {
            fn();
        }
    });
    if (alive && form_) {
        for (ControlWidget* widget : refreshed_) {
            widget->refresh();
        }
    }
    return ran;
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

void FormWindow::startDrag(Control& control, QWidget& widget, const QPoint& at) {
    drag_->start(control, widget, at);
}

void FormWindow::buildControl(Control& control) {
    if (bound_.count(&control) || control.kind() == ControlKind::Menu ||
        control.kind() == ControlKind::FileDialog) {
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
    if (control.kind() == ControlKind::Timer) {
        bound.timer = new QTimer(this);
        auto& timer = static_cast<Timer&>(control);
        bound.ticks = &timer;
        connect(bound.timer, &QTimer::timeout, this, [this, &timer, qtimer = bound.timer] {
            QPointer<QTimer> alive(qtimer);
            run([&timer] { timer.tick(); });
            if (alive && form_ && qtimer->interval() < kQuietTickMs && !userActive()) {
                applyTimer(timer, *qtimer);  // the user has been still for a while: slow down
            }
        });
        if (!watchingInput_) {
            watchingInput_ = true;
            lastInput_.start();
            qApp->installEventFilter(this);
        }
        applyTimer(timer, *bound.timer);
        return;
    }
    QWidget* widget = makeWidget(control, parent, bound.shows);
    bound.widget = widget;
    widget->setObjectName(QString::fromStdString(control.key()));
    controlOf_.insert(widget, &control);
    drag_->watch(*widget, *widget, &control);
    for (Prop what : {Prop::Geometry, Prop::Font, Prop::Colors, Prop::Picture, Prop::Text, Prop::ToolTip,
                      Prop::Enabled, Prop::Value, Prop::Items, Prop::Path, Prop::Drive, Prop::Visible}) {
        apply(control, what);
    }
    if (control.kind() == ControlKind::CommandButton || control.kind() == ControlKind::ListBox) {
        refreshed_.push_back(bound.shows);
    }
    bound.shows->refresh();
}

QWidget* FormWindow::makeWidget(Control& control, QWidget* parent, ControlWidget*& shows) {
    const auto make = [&shows](auto* widget) -> QWidget* {
        shows = widget;
        return widget;
    };
    switch (control.kind()) {
        case ControlKind::ListBox: {
            auto* view = new ListView(*this, static_cast<ListBox&>(control), parent);
            view->syncSelectionFromControl();
            // Drops land on a list's viewport; they are measured in the list.
            drag_->watch(*view->viewport(), *view, &control);
            return make(view);
        }
        case ControlKind::TextBox:
            return make(new LineEdit(*this, static_cast<TextBox&>(control), parent));
        case ControlKind::Label:
            return make(new LabelWidget(static_cast<Label&>(control), parent));
        case ControlKind::CommandButton:
            return make(new Button(*this, static_cast<CommandButton&>(control), parent));
        case ControlKind::CheckBox:
            return make(new CheckBoxWidget(*this, static_cast<CheckBox&>(control), parent));
        case ControlKind::Picture:
            return make(new PictureWidget(*this, static_cast<Picture&>(control), parent));
        case ControlKind::DirList:
            return make(new DirListWidget(*this, static_cast<DirList&>(control), parent));
        case ControlKind::DriveList:
            return make(new DriveCombo(*this, static_cast<DriveList&>(control), parent));
        case ControlKind::Frame:
        default:
            return make(new Surface(&control, parent));
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
    // The window takes its size now: a size the layout set only at showing
    // would make the window system place the client, not the frame, where
    // move() asks. move() places the frame's outer edge, as pos() reads it.
    layout()->activate();
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
    if (!form_) {
        return;
    }
    if (control.kind() == ControlKind::Menu) {
        menus_->apply(static_cast<MenuEntry&>(control));
    } else {
        apply(control, what);
    }
}

void FormWindow::listChanged(ListBox& list, const ListChange& change) {
    const auto it = bound_.find(&list);
    if (it != bound_.end() && it->second.shows) {
        static_cast<ListView*>(it->second.shows)->itemsChanged(change);
    }
}

void FormWindow::apply(Control& control, Prop what) {
    const auto it = bound_.find(&control);
    if (it == bound_.end()) {
        return;
    }
    Bound& bound = it->second;
    if (bound.timer) {
        applyTimer(static_cast<Timer&>(control), *bound.timer);
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
            break;
        case Prop::ToolTip: {
            const QString tip = shownText(control.toolTipText());
            widget->setToolTip(tip);
            // A control that shows only a picture or a symbol is named by its tooltip.
            const bool symbolOnly =
                control.kind() == ControlKind::Picture ||
                (control.kind() == ControlKind::CommandButton &&
                 std::none_of(control.caption().begin(), control.caption().end(),
                              [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }));
            widget->setAccessibleName(symbolOnly ? tip : QString());
            break;
        }
        case Prop::Colors:
            applyColors(control, *widget);
            break;
        default:
            break;
    }
    bound.shows->sync(what);
}

void FormWindow::applyColors(Control& control, QWidget& widget) {
    const auto fore = control.foreColor();
    const auto back = control.backColor();
    switch (control.kind()) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
            // A check box paints its background in the Button role, a label in Window.
            setPaletteColors(widget, widget.foregroundRole(), fore, widget.backgroundRole(), back);
            widget.setAutoFillBackground(back.has_value());
            break;
        case ControlKind::CommandButton:
            setPaletteColors(widget, QPalette::ButtonText, fore, QPalette::Button, back);
            break;
        case ControlKind::TextBox:
        case ControlKind::ListBox:
        case ControlKind::DirList:
        case ControlKind::DriveList:
            setPaletteColors(widget, QPalette::Text, fore, QPalette::Base, back);
            break;
        default:
            break;
    }
}

bool FormWindow::userActive() const {
    return lastInput_.isValid() && !lastInput_.hasExpired(kActiveForMs);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (form_ && isUserInput(event->type())) {
        lastInput_.start();
        for (auto& [control, bound] : bound_) {
            if (bound.timer && bound.timer->isActive() && bound.ticks->intervalMs < kQuietTickMs) {
                applyTimer(*bound.ticks, *bound.timer);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormWindow::applyTimer(Timer& timer, QTimer& qtimer) {
    const bool running = timer.enabled() && timer.intervalMs > 0;
    if (!running) {
        qtimer.stop();
        return;
    }
    const int interval = timer.intervalMs >= kQuietTickMs ? timer.intervalMs
                         : userActive()                   ? std::max(timer.intervalMs, kActiveTickMs)
                                                          : kQuietTickMs;
    if (!qtimer.isActive() || qtimer.interval() != interval) {
        qtimer.start(interval);
    }
}

CommandButton* FormWindow::buttonWith(bool CommandButton::*role) const {
    if (!form_) {
        return nullptr;
    }
    for (const auto& control : form_->controls()) {
        if (control->kind() == ControlKind::CommandButton) {
            auto* button = static_cast<CommandButton*>(control.get());
            if (button->*role) {
                return button;
            }
        }
    }
    return nullptr;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    if (!form_ || (!enter && !escape)) {
        QWidget::keyPressEvent(event);
        return;
    }
    Control* focused = controlOf_.value(focusWidget(), nullptr);
    CommandButton* button = nullptr;
    if (enter) {
        if (focused && focused->kind() == ControlKind::CommandButton) {
            button = static_cast<CommandButton*>(focused);
        } else if (focused && form_->handler(focused->name() + "_KeyDown")) {
            // The control's own key handler has had the key.
            return;
        } else {
            button = buttonWith(&CommandButton::isDefault);
        }
    } else {
        button = buttonWith(&CommandButton::isCancel);
        if (!button && !isMain_) {
            close();
            return;
        }
    }
    // Exactly as a click: never on a button that is disabled or hidden.
    if (QWidget* widget = button ? widgetFor(*button) : nullptr;
        widget && widget->isEnabled() && widget->isVisible()) {
        run([button] { button->click(); });
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

}  // namespace vollo::qt
