#include "platform/qt/qt_style.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "platform/text.h"

namespace vollo::qt {

Units::Units(double logicalDpi)
    : twipsPerPixel_(1440.0 / (logicalDpi > 0 ? logicalDpi : 96.0)) {}

Units Units::forScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return Units(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int Units::pixels(double twips) const {
    return static_cast<int>(std::lround(twips / twipsPerPixel_));
}

QRect Units::rect(double left, double top, double width, double height) const {
    const int x0 = pixels(left);
    const int y0 = pixels(top);
    const int x1 = pixels(left + width);
    const int y1 = pixels(top + height);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QColor designColor(DesignColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QFont fontFor(const FontSpec& fontSpec) {
    const std::string name = lowerText(fontSpec.name);
    const bool mono = name == "courier new" || name == "courier" || name == "lucida console" ||
                      name == "fixedsys" || name == "terminal";
    // Only the family of the desktop's font is taken, not its size or weight.
    QFont font(
        QFontDatabase::systemFont(mono ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont).family());
    if (mono) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    } else {
        font.setStyleHint(QFont::SansSerif);
        // Tahoma is Verdana's narrow sibling: the same sans-serif, semi-condensed,
        // so captions fit the widths they were laid out for.
        if (name == "tahoma" || name == "ms sans serif" || name == "arial") {
            font.setStretch(QFont::SemiCondensed);
        }
    }
    if (fontSpec.sizePoints > 0) {
        font.setPointSizeF(fontSpec.sizePoints);
    }
    font.setBold(fontSpec.bold);
    return font;
}

QString shownText(const std::string& bytes) {
    return QString::fromStdString(displayText(bytes));
}

std::string bytesOf(const QString& text) {
    return text.toStdString();
}

}  // namespace vollo::qt
