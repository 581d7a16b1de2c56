// The folder browse dialog: a folder tree to pick the folder to save into
// (or below which to make it), a prompt above it, an optional prompt below,
// and the name of the folder to use below the selected one.
#pragma once

#include <QDialog>
#include <QString>

#include "session/Ui.h"

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace vantrep::design::ui {

class frmBrowseDlg : public QDialog {
    Q_OBJECT
public:
    // `owner` is the window the dialog is placed against: 73 pixels to the
    // right of and 76 below its upper-left corner, kept on the screen. A
    // missing folder name is told through `ui`.
    frmBrowseDlg(session::Ui& ui, QWidget* owner);

    void setPrompt1(const QString& text);
    void setPrompt2(const QString& text);  // may change while shown
    void setShowPrompt2(bool show);
    void setRootFolder(const QString& folder);
    void setPreSelectedFolder(const QString& folder);
    void setStructFile(const QString& name);  // the proposed folder name

    // Shows the dialog modally; true when a folder was chosen with OK.
    bool Browse();

    // The chosen tree folder joined by one "/" to the typed name; "" after
    // Cancel or before a choice.
    QString SelectedFolder() const { return selected_; }

    // The tree folder currently selected ("" when none).
    QString treeFolder() const;

    // Pure joining: `folder` + "/" unless it already ends in one + `name`.
    static QString joinFolder(const QString& folder, const QString& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void acceptChoice();
    // True when the name box holds a name; else tells the user and keeps
    // the focus in the box.
    bool nameGiven();

    session::Ui& ui_;
    QWidget* owner_;
    QLabel* labPrompt1_;
    QLabel* labPrompt2_;
    QFileSystemModel* folders_;
    QTreeView* FTV1_;
    QLineEdit* txtFolder_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString preSelected_;
    QString selected_;
};

}  // namespace vantrep::design::ui
