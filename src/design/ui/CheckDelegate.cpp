#include "design/ui/CheckDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace vantrep::design::ui {

void CheckDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString().trimmed();
    const bool checked = text.compare("True", Qt::CaseInsensitive) == 0 || (text.toDouble() != 0);
    if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, option.palette.highlight());
    QStyleOptionButton box;
    const int side = std::min(option.rect.height() - 4, 14);
    box.rect = QRect(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side, side);
    box.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter);
}

}  // namespace vantrep::design::ui
