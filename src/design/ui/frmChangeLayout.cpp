#include "design/ui/frmChangeLayout.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantrep::design::ui {

namespace {

constexpr int PathRole = Qt::UserRole;

}  // namespace

frmChangeLayout::frmChangeLayout(const QList<session::LayoutFile>& layouts, ApplyLayout apply, QWidget* parent)
    : QDialog(parent),
      apply_(std::move(apply)),
      lvLayout_(new QTreeWidget(this)),
      cmdApply_(new QPushButton("Apply", this)),
      cmdOK_(new QPushButton("&OK", this)),
      cmdCancel_(new QPushButton("Cancel", this)) {
    setObjectName("frmChangeLayout");
    setWindowTitle("Change Layout");
    auto* label = new QLabel("Select Layout", this);
    label->setBuddy(lvLayout_);
    lvLayout_->setObjectName("lvLayout");
    lvLayout_->setHeaderLabels({"Layout"});
    lvLayout_->setRootIsDecorated(false);
    // The layouts' names are their files' names: they are not edited here.
    lvLayout_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const session::LayoutFile& layout : layouts) {
        auto* item = new QTreeWidgetItem(lvLayout_, {QFileInfo(layout.fileName).completeBaseName()});
        item->setData(0, PathRole, layout.path);
    }
    cmdApply_->setObjectName("cmdApply");
    cmdOK_->setObjectName("cmdOK");
    cmdCancel_->setObjectName("cmdCancel");
    cmdOK_->setDefault(true);

    connect(cmdApply_, &QPushButton::clicked, this, [this] { applySelected(); });
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        applySelected();
        accept();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvLayout_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (applySelected()) accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApply_);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lvLayout_, 1);
    layout->addLayout(buttons);
    setTabOrder(lvLayout_, cmdApply_);
    setTabOrder(cmdApply_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);
    resize(340, 320);
}

void frmChangeLayout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!lvLayout_->currentItem() && lvLayout_->topLevelItemCount() > 0)
        lvLayout_->setCurrentItem(lvLayout_->topLevelItem(0));
    lvLayout_->setFocus();
}

bool frmChangeLayout::applySelected() {
    const QList<QTreeWidgetItem*> selected = lvLayout_->selectedItems();
    if (selected.isEmpty()) return false;
    apply_(selected.first()->data(0, PathRole).toString());
    return true;
}

}  // namespace vantrep::design::ui
