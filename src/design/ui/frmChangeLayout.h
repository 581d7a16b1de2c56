// The change-layout dialog: the saved layouts that fit the open report, one
// of which is applied with "Apply" (the dialog stays), "&OK" or a double
// click (the dialog closes).
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

#include "session/LayoutFiles.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantrep::design::ui {

class frmChangeLayout : public QDialog {
    Q_OBJECT
public:
    // Applies the layout at the given path to the open report.
    using ApplyLayout = std::function<void(const QString& path)>;

    // Lists `layouts` by their base names.
    frmChangeLayout(const QList<session::LayoutFile>& layouts, ApplyLayout apply, QWidget* parent = nullptr);

    QTreeWidget* layoutList() const { return lvLayout_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Applies the selected layout; false when none is selected.
    bool applySelected();

    ApplyLayout apply_;
    QTreeWidget* lvLayout_;
    QPushButton* cmdApply_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

}  // namespace vantrep::design::ui
