// The filter dialog "Filter for " + caption: the field's values in the lists
// "Available" and "Selected", moved between them and reordered within
// "Selected" by dragging rows with the mouse, "Show Others" (summary only),
// "OK" and "Cancel". What a drop or a click does is FilterValues'; this
// window turns the mouse into its calls.
#pragma once

#include <QDialog>
#include <QPoint>

#include "design/FilterValues.h"
#include "design/ui/RowDrag.h"

class QCheckBox;
class QPushButton;

namespace vantrep::grid::ui {
class GridView;
}

namespace vantrep::design::ui {

class frmFilter : public QDialog {
    Q_OBJECT
public:
    // The filter of the field of caption `FieldName`, opened from designer
    // grid `SourceIndex`.
    frmFilter(session::Session& session, const QString& FieldName, int SourceIndex, QWidget* parent = nullptr);
    ~frmFilter() override;

    FilterValues& filter() { return filter_; }
    bool ChangeFilter() const { return filter_.ChangeFilter(); }
    bool ChangePrompt() const { return filter_.ChangePrompt(); }
    grid::ui::GridView* view(FilterList id) const { return id == FilterList::Available ? available_ : selected_; }
    QCheckBox* showOthersBox() const { return chkShowOthers_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DropPlace {
        FilterList list = FilterList::Available;
        int row = -1;  // 0 the header row, -1 below the last row
        bool found = false;
    };

    grid::ui::GridView* makeView(FilterList id);
    bool press(FilterList id, QMouseEvent* event);
    bool release(FilterList id, QMouseEvent* event);
    DropPlace placeAt(QPoint global) const;
    std::vector<int> selectedRows(FilterList id) const;
    void chkShowOthers_Click(bool checked);
    void cmdOk_Click();

    FilterValues filter_;
    grid::ui::GridView* available_;
    grid::ui::GridView* selected_;
    QCheckBox* chkShowOthers_;
    QPushButton* ok_;
    QPushButton* cancel_;

    // The grid of the last press, and the drag under way.
    FilterList oSourceGrid = FilterList::Available;
    RowDrag drag_;
};

}  // namespace vantrep::design::ui
