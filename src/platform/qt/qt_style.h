// Units, colours, fonts and texts as the widgets show them.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "platform/control.h"

namespace vollo::qt {

// Twips to pixels at the screen's logical DPI (15 twips per pixel at 96 DPI).
class Units {
  public:
    explicit Units(double logicalDpi = 96.0);
    // The primary screen's logical DPI (96 when there is no screen).
    static Units forScreen();

    double twipsPerPixel() const { return twipsPerPixel_; }
    int pixels(double twips) const;
    double twips(double pixels) const { return pixels * twipsPerPixel_; }
    // Edges are rounded, so neighbouring controls meet exactly.
    QRect rect(double left, double top, double width, double height) const;

  private:
    double twipsPerPixel_;
};

// &H00BBGGRR.
QColor designColor(DesignColor color);

// Tahoma, Verdana and the other Windows faces map to the desktop's
// sans-serif font, Courier New to its monospace font; sizes are in points.
QFont fontFor(const FontSpec& fontSpec);

// Bytes shown in a widget: UTF-8, invalid sequences as U+FFFD.
QString shownText(const std::string& bytes);
// A widget's text back to bytes.
std::string bytesOf(const QString& text);

}  // namespace vollo::qt
