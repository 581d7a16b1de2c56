// The save-layout dialog: the saved layouts of the open report's kind in the
// layouts folder, in details or list view, sortable by any heading; the name
// to save under, taken from a clicked layout or typed; renaming a layout by
// editing its name and sending one to the trash with the Delete key.
#pragma once

#include <QDialog>
#include <QString>

#include "session/Ui.h"

class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace vantrep::design::ui {

class frmSaveAs : public QDialog {
    Q_OBJECT
public:
    // Lists the layouts in `initDir` of the kind of `fileName` (the proposed
    // name: the report name + ".str" or ".dtr") and proposes its base name.
    // Questions and errors go through `ui`.
    frmSaveAs(session::Ui& ui, const QString& initDir, const QString& fileName, QWidget* parent = nullptr);

    // The full path chosen with "Save"; "" after "Cancel" or before a choice.
    QString FileName() const { return fileName_; }

    enum class View { Details, List };
    void setView(View view);

    // The view in use and its model, for the window's tests.
    QTreeView* detailsView() const { return details_; }
    QListView* listView() const { return list_; }
    QStandardItemModel* files() const { return files_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Column { NameColumn, SizeColumn, TypeColumn, ModifiedColumn };
    void fill();
    void takeName(const QModelIndex& index);
    void renamed(QStandardItem* item);
    void deleteCurrent();
    void save();

    session::Ui& ui_;
    QString initDir_;
    QString extension_;
    QString fileName_;
    QStandardItemModel* files_;
    QStackedWidget* views_;
    QTreeView* details_;
    QListView* list_;
    QRadioButton* optDetails_;
    QRadioButton* optList_;
    QLineEdit* txtFileName_;
    QPushButton* cmdSave_;
    QPushButton* cmdCancel_;
    bool filling_ = false;  // the list is being changed by the dialog itself
};

}  // namespace vantrep::design::ui
