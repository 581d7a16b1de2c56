#include "analysis/ui/PageFieldPanel.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace vantrep::analysis::ui {

namespace {

constexpr int margin = 6;
constexpr int gap = 6;
constexpr int defaultComboTwips = 1800;
// The property of a combo holding its field's index in aDims.
constexpr const char* fieldProperty = "vantrepField";

}  // namespace

PageFieldPlacement placePageFields(const std::vector<int>& widths, int panelWidth, int comboHeight, int margin,
                                   int gap) {
    PageFieldPlacement placement;
    if (widths.empty()) return placement;
    int x = margin, y = margin;
    for (int width : widths) {
        if (x > margin && x + width > panelWidth - margin) {
            x = margin;
            y += comboHeight + gap;
        }
        placement.places.emplace_back(x, y, width, comboHeight);
        x += width + gap;
    }
    placement.height = y + comboHeight + margin;
    return placement;
}

int pageFieldTextTwips(const QStringList& items, const QString& currentText, int defaultTwips) {
    if (items.size() < 2) return defaultTwips;
    return 80 * static_cast<int>(currentText.trimmed().size());
}

PageFieldPanel::PageFieldPanel(QWidget* parent) : QWidget(parent), menu_(new QMenu(this)) {
    setObjectName("Picture2");
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(menu_->addAction("Filter"), &QAction::triggered, this, [this] { emit filterRequested(popupField_); });
}

void PageFieldPanel::clearFields() {
    for (QComboBox* combo : combos_) delete combo;
    combos_.clear();
    widths_.clear();
    arrange();
}

void PageFieldPanel::setFields(const session::Session& session) {
    clearFields();
    if (!session.bDetailed) {
        for (int i = 1; i <= session.aDims.upperBound(); ++i) {
            if (session.aDims(i).Layout.trimmed().toUpper() != "P" || static_cast<size_t>(i) >= session.cmbField.size()) continue;
            auto* combo = new QComboBox(this);
            combo->setObjectName(QString("cmbField(%1)").arg(i));
            const QStringList& items = session.cmbField[static_cast<size_t>(i)].items;
            combo->addItems(items);
            combo->setCurrentIndex(0);
            combo->setProperty(fieldProperty, i);
            combo->setToolTip("Right-click to filter " + session.aDims(i).FDesc.trimmed());
            combo->installEventFilter(this);
            // The width rule sizes the text; the combo's frame and arrow come on top.
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const int frame = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(0, 0), combo).width();
            const int text = pageFieldTextTwips(items, combo->currentText(), defaultComboTwips);
            widths_.push_back(static_cast<int>(text * logicalDpiX() / 1440.0 + 0.5) + frame);
            combo->show();
            combos_.push_back(combo);
        }
    }
    arrange();
}

bool PageFieldPanel::eventFilter(QObject* watched, QEvent* event) {
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (!combo) return QWidget::eventFilter(watched, event);
    // A right press opens the menu instead of the value list; so does the
    // menu key. The context menu event that follows a right press is spent.
    QPoint at;
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        at = static_cast<QMouseEvent*>(event)->position().toPoint();
    } else if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() != QContextMenuEvent::Keyboard) return true;
        at = request->pos();
    } else {
        return QWidget::eventFilter(watched, event);
    }
    popupField_ = combo->property(fieldProperty).toInt();
    menu_->popup(combo->mapToGlobal(at));
    return true;
}

void PageFieldPanel::arrange() {
    const int comboHeight = combos_.empty() ? 0 : combos_.front()->sizeHint().height();
    const PageFieldPlacement placement = placePageFields(widths_, width(), comboHeight, margin, gap);
    for (size_t i = 0; i < combos_.size(); ++i) combos_[i]->setGeometry(placement.places[i]);
    if (placement.height != height_) {
        height_ = placement.height;
        setFixedHeight(height_);
    }
    setVisible(!combos_.empty());
}

QSize PageFieldPanel::sizeHint() const { return QSize(width(), height_); }

void PageFieldPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

}  // namespace vantrep::analysis::ui
