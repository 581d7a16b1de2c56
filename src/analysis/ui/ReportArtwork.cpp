#include "analysis/ui/ReportArtwork.h"

#include <QPainter>

namespace vantrep::analysis::ui {

ReportArtwork::ReportArtwork(QWidget* parent) : QWidget(parent), artwork_(QStringLiteral(":/icons/artwork.svg")) {
    setObjectName("picArtwork");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xfb, 0xfc, 0xfd));
    setPalette(p);
}

void ReportArtwork::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF natural = artwork_.defaultSize();
    const double scale = std::min({1.0, (width() - 40) / natural.width(), (height() - 90) / natural.height()});
    if (scale <= 0) return;
    const QSizeF size = natural * scale;
    const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2 - 20, size.width(), size.height());
    artwork_.render(&painter, target);
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    painter.setFont(font);
    painter.setPen(QColor(0x5a, 0x64, 0x70));
    painter.drawText(QRectF(0, target.bottom() + 16, width(), 30), Qt::AlignHCenter | Qt::AlignTop,
                     tr("Open a report with the Open Report button of the toolbar."));
}

}  // namespace vantrep::analysis::ui
