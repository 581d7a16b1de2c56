#include "design/ui/frmBrowseDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace vantrep::design::ui {

frmBrowseDlg::frmBrowseDlg(session::Ui& ui, QWidget* owner)
    : QDialog(owner),
      ui_(ui),
      owner_(owner),
      labPrompt1_(new QLabel("Select the folder where you want to begin the search.", this)),
      labPrompt2_(new QLabel(this)),
      folders_(new QFileSystemModel(this)),
      FTV1_(new QTreeView(this)),
      txtFolder_(new QLineEdit(this)),
      ok_(new QPushButton("OK", this)),
      cancel_(new QPushButton("Cancel", this)) {
    setObjectName("frmBrowseDlg");
    setWindowTitle("Browse For Folder");
    labPrompt1_->setObjectName("labPrompt1");
    labPrompt2_->setObjectName("labPrompt2");
    FTV1_->setObjectName("FTV1");
    txtFolder_->setObjectName("txtFolder");
    ok_->setObjectName("cmdOK");
    cancel_->setObjectName("cmdCancel");
    labPrompt1_->setWordWrap(true);
    labPrompt2_->setWordWrap(true);
    labPrompt2_->hide();
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath("/");
    FTV1_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column) FTV1_->hideColumn(column);
    FTV1_->header()->hide();
    FTV1_->setWhatsThis("The folders of this computer. Select the folder in which the report's folder is made.");
    txtFolder_->setWhatsThis("The name of the report's folder below the selected folder.");
    ok_->setWhatsThis("Saves the report into the folder named.");
    cancel_->setWhatsThis("Closes the dialog without saving.");
    ok_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labPrompt1_);
    layout->addWidget(FTV1_, 1);
    layout->addWidget(labPrompt2_);
    layout->addWidget(txtFolder_);
    layout->addLayout(buttons);
    setTabOrder(FTV1_, txtFolder_);
    setTabOrder(txtFolder_, ok_);
    setTabOrder(ok_, cancel_);
    resize(360, 420);

    // The tree reads the folders in the background: the selected folder is
    // brought into view again as each of the folders above it is read.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QModelIndex current = FTV1_->currentIndex();
        if (!current.isValid()) return;
        const QString selected = folders_->filePath(current);
        if (selected == loaded || selected.startsWith(joinFolder(loaded, QString()))) FTV1_->scrollTo(current, QAbstractItemView::PositionAtCenter);
    });
    connect(ok_, &QPushButton::clicked, this, &frmBrowseDlg::acceptChoice);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // Leaving the name box for another control of the dialog (but Cancel)
    // with a blank name is refused.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old != txtFolder_ || !now || now == cancel_ || now == ok_ || !isAncestorOf(now)) return;
        if (!txtFolder_->text().trimmed().isEmpty()) return;
        QTimer::singleShot(0, this, [this] { nameGiven(); });
    });
}

void frmBrowseDlg::setPrompt1(const QString& text) { labPrompt1_->setText(text); }
void frmBrowseDlg::setPrompt2(const QString& text) { labPrompt2_->setText(text); }
void frmBrowseDlg::setShowPrompt2(bool show) { labPrompt2_->setVisible(show); }
void frmBrowseDlg::setRootFolder(const QString& folder) { FTV1_->setRootIndex(folders_->index(folder)); }
void frmBrowseDlg::setPreSelectedFolder(const QString& folder) { preSelected_ = folder; }
void frmBrowseDlg::setStructFile(const QString& name) { txtFolder_->setText(name); }

QString frmBrowseDlg::joinFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + "/" + name;
}

QString frmBrowseDlg::treeFolder() const {
    const QModelIndex current = FTV1_->currentIndex();
    return current.isValid() ? folders_->filePath(current) : QString();
}

bool frmBrowseDlg::Browse() {
    selected_.clear();
    return exec() == QDialog::Accepted;
}

void frmBrowseDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (owner_) {
        QPoint place = owner_->frameGeometry().topLeft() + QPoint(73, 76);
        if (const QScreen* screen = owner_->screen()) {
            const QRect room = screen->availableGeometry();
            place.setX(std::max(room.left(), std::min(place.x(), room.right() - frameGeometry().width())));
            place.setY(std::max(room.top(), std::min(place.y(), room.bottom() - frameGeometry().height())));
        }
        move(place);
    }
    const QModelIndex start = folders_->index(preSelected_.isEmpty() ? QDir::homePath() : preSelected_);
    FTV1_->collapseAll();
    FTV1_->setCurrentIndex(start);
    FTV1_->expand(start);
    FTV1_->scrollTo(start, QAbstractItemView::PositionAtCenter);
    txtFolder_->setFocus();
    txtFolder_->selectAll();
}

bool frmBrowseDlg::nameGiven() {
    if (!txtFolder_->text().trimmed().isEmpty()) return true;
    ui_.message("Folder name not specified", windowTitle(), session::MessageIcon::Exclamation,
                session::MessageButtons::Ok);
    txtFolder_->setFocus();
    return false;
}

void frmBrowseDlg::acceptChoice() {
    const QString folder = treeFolder();
    if (folder.isEmpty() || !nameGiven()) return;
    selected_ = joinFolder(folder, txtFolder_->text());
    accept();
}

}  // namespace vantrep::design::ui
