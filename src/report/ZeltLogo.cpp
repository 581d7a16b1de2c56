#include "report/ZeltLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vantrep::report {

QImage ZeltLogo() {
    QImage image(120, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // The tent: two panels of a blue gradient meeting at the ridge.
    QLinearGradient light(QPointF(10, 4), QPointF(40, 44));
    light.setColorAt(0, QColor(70, 130, 220));
    light.setColorAt(1, QColor(20, 60, 150));
    QPainterPath front;
    front.moveTo(30, 4);
    front.lineTo(54, 42);
    front.lineTo(6, 42);
    front.closeSubpath();
    painter.fillPath(front, light);
    QPainterPath side;
    side.moveTo(30, 4);
    side.lineTo(70, 12);
    side.lineTo(86, 42);
    side.lineTo(54, 42);
    side.closeSubpath();
    painter.fillPath(side, QColor(15, 45, 115));
    // The door.
    QPainterPath door;
    door.moveTo(30, 20);
    door.lineTo(39, 42);
    door.lineTo(21, 42);
    door.closeSubpath();
    painter.fillPath(door, Qt::white);
    // The horizon.
    painter.setPen(QPen(QColor(200, 150, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(2, 44.5), QPointF(118, 44.5));
    painter.setBrush(QColor(240, 180, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(102, 16), 8, 8);
    return image;
}

}  // namespace vantrep::report
