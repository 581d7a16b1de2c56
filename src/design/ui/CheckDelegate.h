// Paints a designer list's check column as check boxes: a cell reading "-1"
// (or any checked value) is ticked. The clicks are the dialog's to handle.
#pragma once

#include <QStyledItemDelegate>

namespace vantrep::design::ui {

class CheckDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace vantrep::design::ui
