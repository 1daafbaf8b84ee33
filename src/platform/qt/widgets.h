// The widgets that stand for text boxes, pictures, panels and the directory
// list. Each forwards its user events to its window, which runs the control's
// handlers through the dispatcher.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <string>

#include "platform/control.h"

namespace vollo::qt {

class FormWindow;

// A single-line text box: keys reach `_KeyDown` before the editing.
class LineEdit : public QLineEdit {
    Q_OBJECT
  public:
    LineEdit(FormWindow& window, TextBox& box, QWidget* parent);
    TextBox* box() const { return box_; }
    // Shows the control's text when it differs from the shown one.
    void syncFromControl();
    void detach() { box_ = nullptr; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void userEdited(const QString& text);

    FormWindow& window_;
    TextBox* box_;
};

// A surface that paints a back colour and a named picture: the form's client
// area, a panel, a picture box.
class Surface : public QWidget {
    Q_OBJECT
  public:
    explicit Surface(QWidget* parent);
    void setBackColor(const QColor& color);  // invalid: transparent
    void setPicture(const std::string& name);
    const std::string& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor back_;
    std::string picture_;
};

// A picture box: presses raise `_MouseDown`, or start the automatic drag.
class PictureWidget : public Surface {
    Q_OBJECT
  public:
    PictureWidget(FormWindow& window, Picture& picture, QWidget* parent);
    void detach() { control_ = nullptr; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    FormWindow& window_;
    Picture* control_;
};

// The folders of the current path: the path's own folders from the root
// down, then its subfolders. A double-click opens the folder.
class DirListWidget : public QListWidget {
    Q_OBJECT
  public:
    DirListWidget(FormWindow& window, DirList& dir, QWidget* parent);
    void syncFromControl();
    void detach() { dir_ = nullptr; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void open(int row);

    FormWindow& window_;
    DirList* dir_;
    int ancestors_ = 0;  // rows before the subfolders
};

}  // namespace vollo::qt
