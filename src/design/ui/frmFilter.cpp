#include "design/ui/frmFilter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/ui/GridView.h"

namespace vantrep::design::ui {

namespace {

constexpr int valueTwips = 2800;

}  // namespace

frmFilter::frmFilter(session::Session& session, const QString& FieldName, int SourceIndex, QWidget* parent)
    : QDialog(parent),
      filter_(session, FieldName, SourceIndex),
      available_(makeView(FilterList::Available)),
      selected_(makeView(FilterList::Selected)),
      chkShowOthers_(new QCheckBox("Show Others", this)),
      ok_(new QPushButton("OK", this)),
      cancel_(new QPushButton("Cancel", this)),
      drag_(this) {
    setWindowTitle("Filter for " + FieldName);
    setModal(true);
    auto* lists = new QHBoxLayout;
    lists->addWidget(available_);
    lists->addWidget(selected_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkShowOthers_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    chkShowOthers_->setVisible(filter_.showOthersVisible());
    chkShowOthers_->setEnabled(filter_.showOthersEnabled());
    chkShowOthers_->setChecked(filter_.showOthers());
    ok_->setDefault(true);
    connect(chkShowOthers_, &QCheckBox::clicked, this, &frmFilter::chkShowOthers_Click);
    connect(ok_, &QPushButton::clicked, this, &frmFilter::cmdOk_Click);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(480, 380);
}

frmFilter::~frmFilter() {
    // The views stop reporting their events to this dialog before they go,
    // and they go before the lists they show.
    available_->viewport()->removeEventFilter(this);
    selected_->viewport()->removeEventFilter(this);
    delete available_;
    delete selected_;
}

grid::ui::GridView* frmFilter::makeView(FilterList id) {
    grid::GridModel& list = filter_.list(id);
    list.setColWidth(0, valueTwips);
    auto* view = new grid::ui::GridView(list, this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->viewport()->installEventFilter(this);
    view->setMinimumWidth(200);
    return view;
}

bool frmFilter::eventFilter(QObject* watched, QEvent* event) {
    FilterList id = FilterList::Available;
    if (watched == selected_->viewport())
        id = FilterList::Selected;
    else if (watched != available_->viewport())
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: return press(id, static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return drag_.move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return release(id, static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: return true;
    default: return QDialog::eventFilter(watched, event);
    }
}

bool frmFilter::press(FilterList id, QMouseEvent* event) {
    oSourceGrid = id;
    view(id)->setFocus(Qt::MouseFocusReason);
    return drag_.press(view(id), filter_.list(id), event).mayDrag;  // else the view selects as usual
}

bool frmFilter::release(FilterList id, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return false;
    switch (drag_.release()) {
    case RowDrag::Release::Drop: {
        const DropPlace place = placeAt(event->globalPosition().toPoint());
        if (place.found && filter_.drop(oSourceGrid, selectedRows(oSourceGrid), place.list, place.row)) {
            available_->clearSelection();
            selected_->clearSelection();
            chkShowOthers_->setChecked(filter_.showOthers());
        }
        return true;
    }
    case RowDrag::Release::Click: {
        // A press and release without a drag selects that row alone.
        const QModelIndex index = view(id)->indexAt(event->position().toPoint());
        if (index.isValid())
            view(id)->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return true;
    }
    case RowDrag::Release::Other: return false;
    }
    return false;
}

frmFilter::DropPlace frmFilter::placeAt(QPoint global) const {
    for (FilterList id : {FilterList::Available, FilterList::Selected}) {
        grid::ui::GridView* v = view(id);
        const QPoint inView = v->mapFromGlobal(global);
        if (!v->rect().contains(inView)) continue;
        QHeaderView* header = v->horizontalHeader();
        if (header->isVisible() && header->geometry().contains(inView)) return {id, 0, true};
        const int itemRow = v->rowAt(v->viewport()->mapFromGlobal(global).y());
        return {id, itemRow < 0 ? -1 : itemRow + filter_.list(id).fixedRows(), true};
    }
    return {};
}

std::vector<int> frmFilter::selectedRows(FilterList id) const {
    const int fixed = filter_.list(id).fixedRows();
    std::vector<int> rows;
    for (const QModelIndex& index : view(id)->selectionModel()->selectedRows()) rows.push_back(index.row() + fixed);
    return rows;
}

void frmFilter::chkShowOthers_Click(bool checked) { chkShowOthers_->setChecked(filter_.clickShowOthers(checked)); }

void frmFilter::cmdOk_Click() {
    filter_.ok();
    accept();
}

void frmFilter::done(int result) {
    filter_.unload();
    QDialog::done(result);
}

}  // namespace vantrep::design::ui
