#include "design/ui/frmSaveAs.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "session/LayoutFiles.h"

namespace vantrep::design::ui {

namespace {

// Each cell sorts by its own key (names without regard to case, sizes and
// dates as such); a name cell also keeps the file name it has on disk.
constexpr int SortRole = Qt::UserRole;
constexpr int DiskNameRole = Qt::UserRole + 1;

QString sizeText(qint64 bytes) { return QLocale().toString((bytes + 1023) / 1024) + " KB"; }

QStandardItem* readOnlyItem(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setData(sortKey, SortRole);
    item->setEditable(false);
    return item;
}

void setName(QStandardItem* item, const QString& fileName) {
    item->setText(fileName);
    item->setData(fileName.toLower(), SortRole);
    item->setData(fileName, DiskNameRole);
}

}  // namespace

frmSaveAs::frmSaveAs(session::Ui& ui, const QString& initDir, const QString& fileName, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      initDir_(initDir),
      extension_("." + QFileInfo(fileName).suffix()),
      files_(new QStandardItemModel(0, 4, this)),
      views_(new QStackedWidget(this)),
      details_(new QTreeView(views_)),
      list_(new QListView(views_)),
      optDetails_(new QRadioButton("Details", this)),
      optList_(new QRadioButton("List", this)),
      txtFileName_(new QLineEdit(QFileInfo(fileName).completeBaseName(), this)),
      cmdSave_(new QPushButton("Save", this)),
      cmdCancel_(new QPushButton("Cancel", this)) {
    setObjectName("frmSaveAs");
    setWindowTitle("Save As");
    files_->setHorizontalHeaderLabels({"Name", "Size", "Type", "Modified"});
    files_->setSortRole(SortRole);

    const auto editing = QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;
    details_->setObjectName("lvFiles");
    details_->setModel(files_);
    details_->setRootIsDecorated(false);
    details_->setUniformRowHeights(true);
    details_->setSortingEnabled(true);
    details_->sortByColumn(NameColumn, Qt::AscendingOrder);
    details_->setEditTriggers(editing);
    details_->header()->setStretchLastSection(false);
    details_->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    list_->setObjectName("lvFilesList");
    list_->setModel(files_);
    list_->setSelectionModel(details_->selectionModel());
    list_->setViewMode(QListView::ListMode);
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setEditTriggers(editing);
    views_->addWidget(details_);
    views_->addWidget(list_);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(list_)}) {
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::clicked, this, &frmSaveAs::takeName);
    }
    // Moving through the list with the keys takes names too; the list's own
    // changes (a layout deleted) leave the name box alone.
    connect(details_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!filling_) takeName(current);
            });
    connect(files_, &QStandardItemModel::itemChanged, this, &frmSaveAs::renamed);

    optDetails_->setObjectName("optDetails");
    optList_->setObjectName("optList");
    optDetails_->setChecked(true);
    connect(optDetails_, &QRadioButton::toggled, this, [this](bool on) { setView(on ? View::Details : View::List); });

    txtFileName_->setObjectName("txtFileName");
    auto* nameLabel = new QLabel("File &Name", this);
    nameLabel->setBuddy(txtFileName_);
    txtFileName_->selectAll();
    cmdSave_->setObjectName("cmdSave");
    cmdCancel_->setObjectName("cmdCancel");
    cmdSave_->setDefault(true);
    cmdSave_->setAutoDefault(true);
    connect(txtFileName_, &QLineEdit::textChanged, this,
            [this](const QString& text) { cmdSave_->setEnabled(session::IsLayoutName(text)); });
    cmdSave_->setEnabled(session::IsLayoutName(txtFileName_->text()));
    connect(cmdSave_, &QPushButton::clicked, this, &frmSaveAs::save);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* viewChoice = new QHBoxLayout;
    viewChoice->addWidget(optDetails_);
    viewChoice->addWidget(optList_);
    viewChoice->addStretch();
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(txtFileName_, 1);
    nameRow->addWidget(cmdSave_);
    auto* cancelRow = new QHBoxLayout;
    cancelRow->addStretch();
    cancelRow->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(viewChoice);
    layout->addWidget(views_, 1);
    layout->addLayout(nameRow);
    layout->addLayout(cancelRow);
    setTabOrder(txtFileName_, cmdSave_);
    setTabOrder(cmdSave_, cmdCancel_);
    setTabOrder(cmdCancel_, optDetails_);
    setTabOrder(optDetails_, optList_);
    setTabOrder(optList_, details_);
    setTabOrder(details_, list_);
    resize(520, 360);
    fill();
    txtFileName_->setFocus();
}

void frmSaveAs::fill() {
    filling_ = true;
    files_->removeRows(0, files_->rowCount());
    const QLocale locale;
    for (const session::LayoutFile& layout : session::ListLayouts(initDir_, extension_)) {
        auto* name = new QStandardItem;
        setName(name, layout.fileName);
        files_->appendRow({name, readOnlyItem(sizeText(layout.size), layout.size),
                           readOnlyItem(layout.type, layout.type.toLower()),
                           readOnlyItem(locale.toString(layout.modified, QLocale::ShortFormat), layout.modified)});
    }
    files_->sort(details_->header()->sortIndicatorSection(), details_->header()->sortIndicatorOrder());
    details_->resizeColumnToContents(SizeColumn);
    details_->resizeColumnToContents(TypeColumn);
    details_->resizeColumnToContents(ModifiedColumn);
    filling_ = false;
}

void frmSaveAs::setView(View view) {
    QAbstractItemView* shown = view == View::Details ? static_cast<QAbstractItemView*>(details_) : list_;
    const bool hadFocus = views_->currentWidget()->hasFocus();
    views_->setCurrentWidget(shown);
    (view == View::Details ? optDetails_ : optList_)->setChecked(true);
    if (hadFocus) shown->setFocus();
}

void frmSaveAs::takeName(const QModelIndex& index) {
    if (!index.isValid()) return;
    const QString fileName = files_->item(index.row(), NameColumn)->data(DiskNameRole).toString();
    txtFileName_->setText(QFileInfo(fileName).completeBaseName());
}

void frmSaveAs::renamed(QStandardItem* item) {
    if (filling_ || item->column() != NameColumn) return;
    const QString oldName = item->data(DiskNameRole).toString();
    if (item->text() == oldName) return;
    QString error;
    const QString newName = session::RenameLayout(initDir_, oldName, item->text(), error);
    filling_ = true;
    setName(item, newName.isEmpty() ? oldName : newName);
    filling_ = false;
    if (newName.isEmpty()) {
        ui_.critical(error);
        return;
    }
    takeName(item->index());
}

bool frmSaveAs::eventFilter(QObject* watched, QEvent* event) {
    // While a name is edited the keys go to the editor, not to the view.
    const bool view = watched == details_ || watched == list_;
    if (view && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSaveAs::deleteCurrent() {
    const QModelIndex current = details_->selectionModel()->currentIndex();
    if (!current.isValid() || !details_->selectionModel()->isSelected(current)) return;
    const QString fileName = files_->item(current.row(), NameColumn)->data(DiskNameRole).toString();
    if (!session::DeleteLayout(initDir_ + "/" + fileName, ui_)) return;
    filling_ = true;
    files_->removeRow(current.row());
    filling_ = false;
}

void frmSaveAs::save() {
    const QString name = txtFileName_->text().trimmed();
    if (!session::IsLayoutName(name)) {
        txtFileName_->setFocus();
        return;
    }
    fileName_ = session::LayoutSavePath(initDir_, name, extension_);
    accept();
}

}  // namespace vantrep::design::ui
