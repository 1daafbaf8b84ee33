// The widgets that stand for controls. Each mirrors the properties only it
// knows how to show (through ControlWidget) and forwards its user events to
// its window, which runs the control's handlers through the dispatcher.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "platform/control.h"

namespace vollo::qt {

class FormWindow;

// What every control's widget offers its window. The window itself mirrors
// place, size, visibility, the enabled state, font, tooltip and palette.
class ControlWidget {
  public:
    virtual ~ControlWidget() = default;
    // Shows a property that changed in the control (text, value, items, ...).
    virtual void sync(Prop what) = 0;
    // State kept outside the control (a bold row, a button held down); read
    // after every event.
    virtual void refresh() {}
    // The form was unloaded: forget the control, forward nothing more.
    virtual void detach() = 0;
};

// A single-line text box: keys reach `_KeyDown` before the editing.
class LineEdit : public QLineEdit, public ControlWidget {
    Q_OBJECT
  public:
    LineEdit(FormWindow& window, TextBox& box, QWidget* parent);
    TextBox* box() const { return box_; }
    void sync(Prop what) override;
    void detach() override { box_ = nullptr; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Shows the control's text when it differs from the shown one.
    void syncText();
    void userEdited(const QString& text);

    FormWindow& window_;
    TextBox* box_;
};

// A label. One that has room for a single line of its font keeps its text on
// that line, cut with "…" when too long, the whole text then as its tooltip;
// a taller one wraps its words.
class LabelWidget : public QLabel, public ControlWidget {
    Q_OBJECT
  public:
    LabelWidget(Label& label, QWidget* parent);
    void sync(Prop what) override;
    void detach() override { label_ = nullptr; }
    // The control's whole caption (the shown text may be cut).
    const QString& fullText() const { return full_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutText();

    Label* label_;
    QString full_;
};

// A push button: a caption, or a picture; held down while the control says so.
class Button : public QPushButton, public ControlWidget {
    Q_OBJECT
  public:
    Button(FormWindow& window, CommandButton& button, QWidget* parent);
    void sync(Prop what) override;
    void refresh() override;
    void detach() override { button_ = nullptr; }

  private:
    FormWindow& window_;
    CommandButton* button_;
};

class CheckBoxWidget : public QCheckBox, public ControlWidget {
    Q_OBJECT
  public:
    CheckBoxWidget(FormWindow& window, CheckBox& box, QWidget* parent);
    void sync(Prop what) override;
    void detach() override { box_ = nullptr; }

  private:
    FormWindow& window_;
    CheckBox* box_;
};

// A surface that paints a back colour and a named picture: the form's client
// area, a panel, a picture box.
class Surface : public QWidget, public ControlWidget {
    Q_OBJECT
  public:
    // control: the panel or picture box shown, null for a client area.
    Surface(Control* control, QWidget* parent);
    void setBackColor(const QColor& color);  // invalid: transparent
    void setPicture(const std::string& name);
    const std::string& picture() const { return picture_; }
    void sync(Prop what) override;
    void detach() override { control_ = nullptr; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    Control* control_;

  private:
    QColor back_;
    std::string picture_;
    // A picture that covers every pixel is drawn once per size and copied
    // from here: a repaint of part of the window costs a copy of that part.
    QPixmap drawn_;
    QPoint drawnAt_;  // this surface's place in its window when drawn_ was drawn
};

// A picture box: presses raise `_MouseDown`, or start the automatic drag.
class PictureWidget : public Surface {
    Q_OBJECT
  public:
    PictureWidget(FormWindow& window, Picture& picture, QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    FormWindow& window_;
};

// The folders of the current path: the path's own folders from the root
// down, then its subfolders. A double-click or Enter opens the folder.
class DirListWidget : public QListWidget, public ControlWidget {
    Q_OBJECT
  public:
    DirListWidget(FormWindow& window, DirList& dir, QWidget* parent);
    void sync(Prop what) override;
    void detach() override { dir_ = nullptr; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void syncPath();
    void open(int row);

    FormWindow& window_;
    DirList* dir_;
    int ancestors_ = 0;  // rows before the subfolders
};

// The drive list: choosing a drive sets the control's drive.
class DriveCombo : public QComboBox, public ControlWidget {
    Q_OBJECT
  public:
    DriveCombo(FormWindow& window, DriveList& drives, QWidget* parent);
    void sync(Prop what) override;
    void detach() override { drives_ = nullptr; }

  private:
    void chosen(int row);

    FormWindow& window_;
    DriveList* drives_;
};

}  // namespace vollo::qt
