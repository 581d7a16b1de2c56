// The page-field panel above a summary grid: one combo per page ("P") field
// of the report, in field order, each showing that field's value list; a combo
// with at least two items as wide as its current text (80 twips per
// character), the combos placed left to right and wrapped to a new line where
// the next would pass the panel's width. A right click on a combo (or the
// menu key) offers "Filter" for that field.
#pragma once

#include <QComboBox>
#include <QMenu>
#include <QRect>
#include <QWidget>
#include <vector>

#include "session/Session.h"

namespace vantrep::analysis::ui {

// Where combos of the given widths go in a panel `panelWidth` wide, and the
// panel's height: one line of `comboHeight`, and one more combo height (and
// the gap) for every wrap.
struct PageFieldPlacement {
    std::vector<QRect> places;
    int height = 0;
};
PageFieldPlacement placePageFields(const std::vector<int>& widths, int panelWidth, int comboHeight, int margin, int gap);

// The width of a combo's text area in twips: 80 per character of the trimmed
// current text when the list has at least two items, else `defaultTwips`.
int pageFieldTextTwips(const QStringList& items, const QString& currentText, int defaultTwips);

class PageFieldPanel : public QWidget {
    Q_OBJECT
public:
    explicit PageFieldPanel(QWidget* parent = nullptr);

    // One combo per "P" entry of the session's field list; none for a listing.
    void setFields(const session::Session& session);
    void clearFields();
    const std::vector<QComboBox*>& combos() const { return combos_; }
    QMenu* popupMenu() const { return menu_; }

    QSize sizeHint() const override;

signals:
    // "Filter" was chosen for the field of index `field` in aDims.
    void filterRequested(int field);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange();

    std::vector<QComboBox*> combos_;
    std::vector<int> widths_;
    QMenu* menu_;
    int popupField_ = 0;
    int height_ = 0;
};

}  // namespace vantrep::analysis::ui
