#include "grid/ui/CellStyle.h"

#include "grid/GridCell.h"
#include "grid/GridModel.h"

namespace vantrep::grid::ui {

Qt::Alignment cellAlignment(int code, const QString& text) {
    if (code < alignLeftTop || code > alignRightBottom) {
        const Qt::Alignment horizontal = GridModel::isNumericText(text) ? Qt::AlignRight : Qt::AlignLeft;
        return horizontal | Qt::AlignVCenter;
    }
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

}  // namespace vantrep::grid::ui
