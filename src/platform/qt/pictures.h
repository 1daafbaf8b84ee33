// The program's own pictures, drawn in code: the main window's background,
// the seek track, the knobs, the volume wedge, the About picture and the
// player buttons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <string>

class QPainter;

namespace vollo::qt {

// Draws the picture by its name ("background", "track", "knob", "volume",
// "about", "play", "pause", "stop") scaled into rect. Unknown names draw
// nothing; false then.
bool paintPicture(QPainter& painter, const QRect& rect, const std::string& name);
// Whether the picture covers every pixel of its rect with opaque colour.
bool pictureIsOpaque(const std::string& name);

// A player button's picture: the desktop theme's media icon where the theme
// has one, the drawn picture otherwise.
QIcon buttonIcon(const std::string& name);

// Vollo's own picture (the record and its notes) at the usual icon sizes:
// every window's icon.
QIcon programIcon();

// The outline that follows the pointer while a control is dragged.
QPixmap dragOutline(const QSize& size);

}  // namespace vollo::qt
