#include "platform/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <cmath>

// The resource lives in a static library: its registration is called by name.
static void initIconResource() {
    Q_INIT_RESOURCE(vollo_icon);
}

namespace vollo::qt {

namespace {

void paintBackground(QPainter& p, const QRect& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(0, 0, 84));
    sky.setColorAt(1.0, QColor(0, 0, 40));
    p.fillRect(r, sky);
    // Sound waves spreading from the lower right corner.
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(r.right() + 40.0, r.bottom() + 40.0);
    for (int i = 1; i <= 12; ++i) {
        const double radius = i * std::max(r.width(), r.height()) / 11.0;
        QColor ring(90, 110, 220, 34 - 2 * i);
        p.setPen(QPen(ring, 3.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, radius, radius);
    }
}

void paintTrack(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing);
    const double mid = r.top() + r.height() / 2.0;
    const QRectF groove(r.left() + 1.0, mid - 2.5, r.width() - 2.0, 5.0);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(QColor(24, 24, 24));
    p.drawRoundedRect(groove, 2.5, 2.5);
    p.setPen(QPen(QColor(200, 200, 200), 1.0));
    p.drawLine(QPointF(groove.left() + 2, groove.bottom() + 1),
               QPointF(groove.right() - 2, groove.bottom() + 1));
    // Ticks at every tenth of the length.
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    for (int i = 0; i <= 10; ++i) {
        const double x = r.left() + 1.0 + (r.width() - 3.0) * i / 10.0;
        p.drawLine(QPointF(x, r.top() + 1.0), QPointF(x, groove.top() - 2.0));
    }
}

void paintKnob(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient metal(body.topLeft(), body.topRight());
    metal.setColorAt(0.0, QColor(250, 250, 250));
    metal.setColorAt(0.5, QColor(200, 204, 212));
    metal.setColorAt(1.0, QColor(130, 134, 142));
    p.setPen(QPen(QColor(30, 30, 30), 1.0));
    p.setBrush(metal);
    p.drawRoundedRect(body, 2.0, 2.0);
    p.setPen(QPen(QColor(70, 70, 80), 1.0));
    const double x = body.center().x();
    p.drawLine(QPointF(x, body.top() + 3.0), QPointF(x, body.bottom() - 3.0));
}

void paintVolume(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath wedge;
    const QRectF b = QRectF(r).adjusted(1.0, 2.0, -1.0, -2.0);
    wedge.moveTo(b.bottomLeft());
    wedge.lineTo(b.bottomRight());
    wedge.lineTo(b.topRight());
    wedge.closeSubpath();
    QLinearGradient loud(b.topLeft(), b.topRight());
    loud.setColorAt(0.0, QColor(40, 120, 40));
    loud.setColorAt(0.7, QColor(200, 200, 40));
    loud.setColorAt(1.0, QColor(220, 60, 30));
    p.setPen(QPen(QColor(20, 20, 20), 1.0));
    p.setBrush(loud);
    p.drawPath(wedge);
}

// The About picture stands 120 twips above the window's top and is clipped
// by the window's bottom: what matters lies in its upper two thirds.
void paintAbout(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(0, 0, 96));
    sky.setColorAt(0.65, QColor(0, 0, 40));
    p.fillRect(r, sky);
    // A record: grooves, label, hole and a shine.
    const double radius = r.width() * 0.38;
    const QPointF centre(r.left() + r.width() * 0.44, r.top() + r.height() * 0.33);
    QRadialGradient vinyl(centre, radius);
    vinyl.setColorAt(0.0, QColor(50, 50, 50));
    vinyl.setColorAt(1.0, QColor(8, 8, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(vinyl);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(72, 72, 72), 1.0));
    for (int i = 0; i < 9; ++i) {
        const double groove = radius - 4.0 - i * radius / 15.0;
        p.drawEllipse(centre, groove, groove);
    }
    QPainterPath shine;
    shine.moveTo(centre);
    shine.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 25, 35);
    shine.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawPath(shine);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(centre, radius / 3.0, radius / 3.0);
    p.setBrush(QColor(240, 200, 80));
    p.drawEllipse(centre, radius / 16.0 + 1.0, radius / 16.0 + 1.0);
    // A pair of notes in front of the record's lower right.
    const QColor ink(235, 235, 255);
    const double head = r.width() * 0.05;
    const QPointF first(r.left() + r.width() * 0.70, r.top() + r.height() * 0.56);
    const QPointF second(first.x() + head * 4.0, first.y() - head * 1.2);
    for (const QPointF& note : {first, second}) {
        p.save();
        p.translate(note);
        p.rotate(-20);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(0, 0), head, head * 0.7);
        p.restore();
    }
    const double stem = head * 4.5;
    p.setPen(QPen(ink, head / 2.5));
    p.drawLine(QPointF(first.x() + head * 0.85, first.y()),
               QPointF(first.x() + head * 0.85, first.y() - stem));
    p.drawLine(QPointF(second.x() + head * 0.85, second.y()),
               QPointF(second.x() + head * 0.85, second.y() - stem));
    p.setPen(QPen(ink, head * 0.8));
    p.drawLine(QPointF(first.x() + head * 0.85, first.y() - stem),
               QPointF(second.x() + head * 0.85, second.y() - stem));
}

void paintPlayerGlyph(QPainter& p, const QRect& r, const std::string& name) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box =
        QRectF(r).adjusted(r.width() * 0.25, r.height() * 0.25, -r.width() * 0.25, -r.height() * 0.25);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    if (name == "play") {
        QPainterPath triangle;
        triangle.moveTo(box.left() + box.width() * 0.12, box.top());
        triangle.lineTo(box.right(), box.center().y());
        triangle.lineTo(box.left() + box.width() * 0.12, box.bottom());
        triangle.closeSubpath();
        p.drawPath(triangle);
    } else if (name == "pause") {
        const double bar = box.width() * 0.34;
        p.drawRect(QRectF(box.left(), box.top(), bar, box.height()));
        p.drawRect(QRectF(box.right() - bar, box.top(), bar, box.height()));
    } else {
        p.drawRect(
            box.adjusted(box.width() * 0.06, box.height() * 0.06, -box.width() * 0.06, -box.height() * 0.06));
    }
}

}  // namespace

bool paintPicture(QPainter& painter, const QRect& rect, const std::string& name) {
    painter.save();
    bool known = true;
    if (name == "background") {
        paintBackground(painter, rect);
    } else if (name == "track") {
        paintTrack(painter, rect);
    } else if (name == "knob") {
        paintKnob(painter, rect);
    } else if (name == "volume") {
        paintVolume(painter, rect);
    } else if (name == "about") {
        paintAbout(painter, rect);
    } else if (name == "play" || name == "pause" || name == "stop") {
        paintPlayerGlyph(painter, rect, name);
    } else {
        known = false;
    }
    painter.restore();
    return known;
}

bool pictureIsOpaque(const std::string& name) {
    return name == "background";
}

QIcon buttonIcon(const std::string& name) {
    const char* themeName = name == "play"    ? "media-playback-start"
                            : name == "pause" ? "media-playback-pause"
                            : name == "stop"  ? "media-playback-stop"
                                              : nullptr;
    if (themeName && QIcon::hasThemeIcon(QString::fromLatin1(themeName))) {
        return QIcon::fromTheme(QString::fromLatin1(themeName));
    }
    QIcon drawn;
    for (int side : {16, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        if (!paintPicture(painter, QRect(0, 0, side, side), name)) {
            return QIcon();
        }
        painter.end();
        drawn.addPixmap(pixmap);
    }
    return drawn;
}

QIcon programIcon() {
    initIconResource();
    QSvgRenderer drawing(QStringLiteral(":/icons/vollo.svg"));
    QIcon icon;
    if (!drawing.isValid()) {
        return icon;
    }
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawing.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap dragOutline(const QSize& size) {
    QPixmap pixmap(size.expandedTo(QSize(2, 2)));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1.0, Qt::DotLine));
    painter.drawRect(QRect(QPoint(0, 0), pixmap.size() - QSize(1, 1)));
    painter.setPen(QPen(Qt::white, 1.0, Qt::DotLine));
    painter.drawRect(QRect(QPoint(1, 1), pixmap.size() - QSize(3, 3)));
    return pixmap;
}

}  // namespace vollo::qt
