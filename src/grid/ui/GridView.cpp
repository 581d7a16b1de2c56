#include "grid/ui/GridView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "grid/ui/CellStyle.h"
#include "grid/ui/GridCopy.h"
#include "grid/ui/GridCellDelegate.h"
#include "grid/ui/GridHeaderView.h"
#include "grid/ui/GridTableModel.h"

namespace vantrep::grid::ui {

namespace {

constexpr int fixedColumnPixels = 14;    // the fixed column's width when the grid sets none
constexpr int defaultColumnPixels = 64;  // other columns' width when the grid sets none

}  // namespace

GridView::GridView(GridModel& grid, QWidget* parent)
    : QTableView(parent),
      grid_(grid),
      model_(new GridTableModel(grid, this)),
      delegate_(new GridCellDelegate(grid, this)),
      header_(new GridHeaderView(grid, this)),
      frozen_(new QTableView(this)),
      frozenHeader_(new GridHeaderView(grid, frozen_)) {
    setUpView(this, header_);
    setModel(model_);
    frozen_->setModel(model_);
    frozen_->setSelectionModel(selectionModel());
    setUpView(frozen_, frozenHeader_);
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->stackUnder(frozen_);
    setHorizontalScrollMode(ScrollPerPixel);

    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
    // A merged run draws its text in the topmost visible row: scrolling must
    // repaint the whole view rather than move the old pixels.
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this, [this] {
        viewport()->update();
        frozen_->viewport()->update();
    });
    connect(header_, &QHeaderView::sectionClicked, this, &GridView::sortByHeading);
    connect(frozenHeader_, &QHeaderView::sectionClicked, this, &GridView::sortByHeading);
    connect(header_, &QHeaderView::sectionMoved, this, &GridView::moveColumn);
    connect(header_, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < frozenCount()) {
            frozen_->setColumnWidth(col, size);
            updateFrozenGeometry();
        }
    });
    connect(model_, &GridTableModel::gridChanged, this, [this] {
        // A grid filled anew has not been sorted by the view.
        if (!sorting_) sortColumn_ = -1;
        applyGridSettings();
    });
    setExplorerBar(0);
    applyGridSettings();
}

void GridView::setUpView(QTableView* view, GridHeaderView* header) {
    view->setHorizontalHeader(header);
    view->setItemDelegate(delegate_);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(8);
    const int line = view->fontMetrics().height() + 8;
    view->verticalHeader()->setDefaultSectionSize(line);
    header->setLineHeight(line);
    header->setSortIndicatorShown(false);
}

int GridView::frozenCount() const { return std::min(grid_.cols(), grid_.fixedCols() + grid_.frozenCols()); }

int GridView::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < frozenCount(); ++c)
        if (!isColumnHidden(c)) width += columnWidth(c);
    return width;
}

void GridView::applyGridSettings() {
    const double dpi = logicalDpiX();
    const int frozen = frozenCount();
    for (int c = 0; c < grid_.cols(); ++c) {
        const int twips = grid_.colWidth(c);
        const int width = twips >= 0 ? twipsToPixels(twips, dpi)
                                     : (c < grid_.fixedCols() ? fixedColumnPixels : defaultColumnPixels);
        setColumnWidth(c, width);
        frozen_->setColumnWidth(c, width);
        setColumnHidden(c, grid_.colHidden(c));
        frozen_->setColumnHidden(c, c >= frozen || grid_.colHidden(c));
    }
    for (int r = grid_.fixedRows(); r < grid_.rows(); ++r) {
        const bool hidden = grid_.rowHidden(r);
        if (hidden || isRowHidden(r - grid_.fixedRows())) {
            setRowHidden(r - grid_.fixedRows(), hidden);
            frozen_->setRowHidden(r - grid_.fixedRows(), hidden);
        }
    }
    header_->setVisible(grid_.fixedRows() > 0);
    frozenHeader_->setVisible(grid_.fixedRows() > 0);
    for (GridHeaderView* h : {header_, frozenHeader_}) {
        h->setSortIndicatorShown(sortColumn_ >= 0);
        h->setSortIndicator(sortColumn_, sortOrder_);
        h->updateGeometry();
    }
    frozen_->setVisible(frozen > 0);
    updateGeometries();
    updateFrozenGeometry();
}

void GridView::setExplorerBar(int setting) {
    explorerBar_ = setting;
    header_->setSectionsClickable(setting == 5 || setting == 7);
    frozenHeader_->setSectionsClickable(setting == 5 || setting == 7);
    header_->setSectionsMovable(setting == 7);
}

void GridView::sortByHeading(int col) {
    if ((explorerBar_ != 5 && explorerBar_ != 7) || col < grid_.fixedCols() || col >= grid_.cols()) return;
    sortOrder_ = col == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortColumn_ = col;
    sorting_ = true;
    grid_.sort(col, sortOrder_ == Qt::AscendingOrder);
    sorting_ = false;
    applyGridSettings();  // the indicator also shows when the sort changed nothing
}

void GridView::moveColumn(int logical, int oldVisual, int newVisual) {
    // The grid model holds the column order; the heading's own order is put
    // back and the model's move redraws the view.
    {
        const QSignalBlocker block(header_);
        header_->moveSection(newVisual, oldVisual);
    }
    if (logical < frozenCount() || newVisual < frozenCount()) return;
    grid_.colPosition(logical, newVisual);
}

QString GridView::selectionCopyText() const {
    // With nothing selected the current cell is the selection.
    const QItemSelection selection = selectionModel()->selection();
    const QModelIndex current = currentIndex();
    if (selection.isEmpty() && !current.isValid()) return QString();
    const QItemSelectionRange range = selection.isEmpty() ? QItemSelectionRange(current) : selection.first();
    const int fixed = grid_.fixedRows();
    const CellRange cells{range.top() + fixed, range.left(), range.bottom() + fixed, range.right()};
    // The selection ends at the current cell; it started at the other side.
    const int toCol = current.isValid() && range.contains(current) ? current.column() : range.right();
    const int fromCol = toCol == range.left() ? range.right() : range.left();
    return copyText(grid_, cells, fromCol, toCol);
}

void GridView::copyToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selectionCopyText());
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
        copyToClipboard();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || clipButton_.isNull()) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    const int row = model_->gridRow(index.row());
    const QImage picture = grid_.cellPicture(row, index.column());
    if (picture.isNull() || picture != clipButton_) return;
    const QRect cell = visualRect(index);
    if (cell.left() + cell.width() - picture.width() < event->position().x()) emit clipClicked(row, index.column());
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    updateFrozenGeometry();
}

void GridView::updateFrozenGeometry() {
    if (!frozen_) return;
    const int headerHeight = horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0;
    frozen_->setGeometry(frameWidth(), frameWidth(), frozenWidth(), viewport()->height() + headerHeight);
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell the cursor moves to out from under the frozen columns.
    if (cursorAction == MoveLeft && current.column() >= frozenCount() && visualRect(current).left() < frozenWidth()) {
        const int offset = visualRect(current).left() - frozenWidth();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + offset);
    }
    return current;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() >= frozenCount()) QTableView::scrollTo(index, hint);
}

}  // namespace vantrep::grid::ui
