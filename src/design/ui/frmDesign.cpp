#include "design/ui/frmDesign.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "design/DragStart.h"
#include "design/ui/CheckDelegate.h"
#include "design/ui/frmFilter.h"
#include "grid/ui/GridView.h"

namespace vantrep::design::ui {

namespace {

constexpr int captionTwips = 2600;
constexpr int checkTwips = 400;
constexpr int narrowTwips = 700;

constexpr std::array<DesignGrid, 4> allGrids = {DesignGrid::Rows, DesignGrid::Columns, DesignGrid::Available,
                                                DesignGrid::Selected};

}  // namespace

frmDesign::frmDesign(session::Session& session, std::function<bool()> refill, QWidget* parent)
    : QDialog(parent),
      designer_(session, std::move(refill)),
      tabs_(new QTabWidget(this)),
      ok_(new QPushButton("&OK", this)),
      cancel_(new QPushButton("Cancel", this)),
      apply_(new QPushButton("&Apply", this)),
      indicator_(new QFrame(this)),
      mnuPop_(new QMenu(this)) {
    setWindowTitle("Report Layout");
    setModal(true);
    designer_.load();
    for (DesignGrid id : allGrids) views_[static_cast<size_t>(id)] = makeView(id);

    auto* dimensions = new QWidget;
    auto* dimensionRow = new QHBoxLayout(dimensions);
    dimensionRow->addWidget(view(DesignGrid::Rows));
    dimensionRow->addWidget(view(DesignGrid::Columns));
    auto* variables = new QWidget;
    auto* variableRow = new QHBoxLayout(variables);
    variableRow->addWidget(view(DesignGrid::Available));
    variableRow->addWidget(view(DesignGrid::Selected));
    tabs_->addTab(dimensions, "&Dimension");
    tabs_->addTab(variables, "&Variables");
    if (designer_.detailed()) {
        tabs_->setTabVisible(0, false);
        tabs_->setTabText(1, "&Fields");
        tabs_->setCurrentIndex(1);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    ok_->setDefault(true);
    apply_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &frmDesign::cmdOk_Click);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &frmDesign::cmdApply_Click);

    indicator_->setFrameShape(QFrame::HLine);
    indicator_->setLineWidth(2);
    indicator_->setStyleSheet("color: #1a4fd0; background: #1a4fd0;");
    indicator_->hide();
    connect(mnuPop_->addAction("Filter"), &QAction::triggered, this, &frmDesign::mnuFilter_Click);
    resize(designer_.detailed() ? 760 : 620, 420);
}

frmDesign::~frmDesign() {
    // The views stop reporting their events to this dialog before they go,
    // and they go before the designer's grids they show.
    for (grid::ui::GridView* v : views_) {
        v->viewport()->removeEventFilter(this);
        v->removeEventFilter(this);
    }
    delete tabs_;
}

grid::ui::GridView* frmDesign::makeView(DesignGrid id) {
    grid::GridModel& grid = designer_.grids()[id];
    grid.setColWidth(CaptionColumn(id), captionTwips);
    grid.setColWidth(CheckColumn(id), checkTwips);
    if (!IsDimensionGrid(id))
        for (int c = 2; c < grid.cols(); ++c) grid.setColWidth(c, narrowTwips);
    auto* view = new grid::ui::GridView(grid);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(IsDimensionGrid(id) ? QAbstractItemView::ContiguousSelection
                                               : QAbstractItemView::ExtendedSelection);
    if (id == DesignGrid::Selected) view->setItemDelegateForColumn(CheckColumn(id), new CheckDelegate(view));
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    view->setMinimumWidth(200);
    return view;
}

void frmDesign::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    designer_.markFilteredFields();
}

int frmDesign::gridOfViewport(QObject* watched) const {
    for (DesignGrid id : allGrids)
        if (view(id)->viewport() == watched) return static_cast<int>(id);
    return -1;
}

bool frmDesign::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == view(DesignGrid::Selected))
        return ctrlKey(static_cast<QKeyEvent*>(event));
    const int grid = gridOfViewport(watched);
    if (grid < 0) return QDialog::eventFilter(watched, event);
    const auto id = static_cast<DesignGrid>(grid);
    switch (event->type()) {
    case QEvent::MouseButtonPress: return press(id, static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return release(id, static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: return true;
    default: return QDialog::eventFilter(watched, event);
    }
}

bool frmDesign::press(DesignGrid id, QMouseEvent* event) {
    grid::ui::GridView* v = view(id);
    oSourceGrid = id;
    v->setFocus(Qt::MouseFocusReason);
    const int xTwips = static_cast<int>(event->position().x() * 1440.0 / v->logicalDpiX());
    if (IsDimensionGrid(id) && PressIgnoredByDimensionGrid(xTwips)) return true;
    const RowDrag::Press press = drag_.press(v, designer_.grids()[id], event);
    pressRow_ = press.row;
    pressCol_ = press.col;
    return press.mayDrag;  // else the view selects as usual
}

bool frmDesign::move(QMouseEvent* event) {
    if (!drag_.move(event)) return false;
    if (drag_.dragging()) showDropPlace(placeAt(event->globalPosition().toPoint()));
    return true;
}

bool frmDesign::release(DesignGrid id, QMouseEvent* event) {
    if (event->button() == Qt::RightButton) return popup(id, event);
    if (event->button() != Qt::LeftButton) return false;
    const RowDrag::Release ended = drag_.release();
    if (ended == RowDrag::Release::Drop) {
        indicator_->hide();
        drop(placeAt(event->globalPosition().toPoint()));
        return true;
    }
    const QModelIndex index = view(id)->indexAt(event->position().toPoint());
    const int row = index.isValid() ? index.row() + designer_.grids()[id].fixedRows() : -1;
    // A press and release without a drag selects the cell (in a list, that row alone).
    if (ended == RowDrag::Release::Click && row >= 0) selectRows(id, row, row);
    if (id == DesignGrid::Selected && row >= 0 && row == pressRow_ && index.column() == CheckColumn(id) &&
        designer_.toggleCheck(id, row)) {
        edited();
        selectRows(id, row, row);
    }
    return ended == RowDrag::Release::Click;
}

bool frmDesign::ctrlKey(QKeyEvent* event) {
    if (event->modifiers() != Qt::ControlModifier) return false;
    const std::vector<int> rows = selectedRows(DesignGrid::Selected);
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && rows.size() == 1) {
        const int to = designer_.moveSelectedRow(rows.front(), event->key() == Qt::Key_Up);
        if (to >= 0) {
            edited();
            selectRows(DesignGrid::Selected, to, to);
        }
    }
    return true;  // the list's own handling of Ctrl keys is suppressed
}

bool frmDesign::popup(DesignGrid id, QMouseEvent* event) {
    // A summary filters its dimensions, a listing its fields.
    if (IsDimensionGrid(id) == designer_.detailed()) return false;
    const QModelIndex index = view(id)->indexAt(event->position().toPoint());
    if (!index.isValid()) return false;
    const int row = index.row() + designer_.grids()[id].fixedRows();
    selectRows(id, row, row);
    oSourceGrid = id;
    sPopupField = designer_.grids()[id].textMatrix(row, CaptionColumn(id));
    mnuPop_->popup(event->globalPosition().toPoint());
    return true;
}

void frmDesign::mnuFilter_Click() {
    const int sourceIndex = oSourceGrid == DesignGrid::Columns ? 2 : oSourceGrid == DesignGrid::Available ? 0 : 1;
    designer_.filterCommand(sPopupField, sourceIndex, [this](const QString& caption, int index) {
        frmFilter filter(designer_.session(), caption, index, this);
        filter.exec();
        return filter.ChangeFilter();
    });
    edited();
}

void frmDesign::done(int result) {
    if (designer_.queryUnload()) QDialog::done(result);
}

frmDesign::DropPlace frmDesign::placeAt(QPoint global) const {
    for (DesignGrid id : allGrids) {
        grid::ui::GridView* v = view(id);
        if (!v->isVisible() || IsDimensionGrid(id) != IsDimensionGrid(oSourceGrid)) continue;
        const QPoint inView = v->mapFromGlobal(global);
        if (!v->rect().contains(inView)) continue;
        const grid::GridModel& grid = designer_.grids()[id];
        QHeaderView* header = v->horizontalHeader();
        if (header->isVisible() && header->geometry().contains(inView))
            return {id, IsDimensionGrid(id) ? 0 : -1, true};
        const int itemRow = v->rowAt(v->viewport()->mapFromGlobal(global).y());
        return {id, itemRow < 0 ? -1 : itemRow + grid.fixedRows(), true};
    }
    return {};
}

void frmDesign::showDropPlace(const DropPlace& place) {
    if (!place.found) {
        indicator_->hide();
        return;
    }
    grid::ui::GridView* v = view(place.grid);
    const grid::GridModel& grid = designer_.grids()[place.grid];
    QRect line;
    if (place.row == 0) {
        const QRect header = v->horizontalHeader()->geometry();
        line = QRect(v->mapTo(this, header.bottomLeft()), QSize(header.width(), 3));
    } else {
        const int dataRows = grid.rows() - grid.fixedRows();
        const int itemRow = place.row < 0 ? dataRows : place.row - grid.fixedRows();
        const int y = itemRow < dataRows ? v->rowViewportPosition(itemRow)
                                         : (dataRows > 0 ? v->rowViewportPosition(dataRows - 1) + v->rowHeight(dataRows - 1) : 0);
        line = QRect(v->viewport()->mapTo(this, QPoint(0, y - 1)), QSize(v->viewport()->width(), 3));
    }
    indicator_->setGeometry(line);
    indicator_->show();
    indicator_->raise();
}

void frmDesign::drop(const DropPlace& place) {
    if (!place.found) return;
    const std::vector<int> rows = selectedRows(oSourceGrid);
    if (rows.empty()) return;
    const bool moved = IsDimensionGrid(place.grid)
                           ? designer_.dropOnDimensionGrid(oSourceGrid, rows.front(), rows.back(), place.grid, place.row)
                           : designer_.dropOnVariableList(oSourceGrid, rows, place.grid, place.row);
    if (moved) edited();
}

std::vector<int> frmDesign::selectedRows(DesignGrid id) const {
    const grid::GridModel& grid = designer_.grids()[id];
    std::vector<int> rows;
    for (const QModelIndex& index : view(id)->selectionModel()->selectedRows()) rows.push_back(index.row() + grid.fixedRows());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void frmDesign::selectRows(DesignGrid id, int first, int last) {
    grid::ui::GridView* v = view(id);
    const int fixed = designer_.grids()[id].fixedRows();
    const QModelIndex top = v->model()->index(first - fixed, 0);
    const QModelIndex bottom = v->model()->index(last - fixed, v->model()->columnCount() - 1);
    v->selectionModel()->select(QItemSelection(top, bottom), QItemSelectionModel::ClearAndSelect);
    v->selectionModel()->setCurrentIndex(v->model()->index(first - fixed, CaptionColumn(id)),
                                         QItemSelectionModel::NoUpdate);
}

void frmDesign::edited() { apply_->setEnabled(designer_.applyEnabled()); }

void frmDesign::cmdApply_Click() {
    designer_.apply();
    apply_->setEnabled(false);
}

void frmDesign::cmdOk_Click() {
    cmdApply_Click();
    accept();
}

}  // namespace vantrep::design::ui
