// The title settings dialog: the main title and the sub title of a grid
// report, each with its font (Qt's font dialog) and, when ShowAlignment is
// set, its alignment, stored inside the text with bars (TitleAlignment.h).
// OK copies the edited titles into the holders and sets SaveTitle.
#pragma once

#include <QDialog>
#include <QString>

#include "report/TitleHolder.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrep::report::ui {

class frmTitleSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmTitleSettings(QWidget* parent = nullptr);

    // Set before the dialog opens.
    TitleHolder* Title1 = nullptr;
    TitleHolder* Title2 = nullptr;
    QString MainTitle;
    QString SubTitle;
    QString FormCaption;  // kept for the caller
    bool ShowAlignment = false;

    // True after OK, false after Cancel.
    bool SaveTitle() const { return saveTitle_; }

    // Fills the boxes from the holders; done when the dialog is shown.
    void activate();
    void cmdOk_Click();
    void cmdCancel_Click();

    QLineEdit* txtTitle1 = nullptr;
    QLineEdit* txtTitle2 = nullptr;
    QLineEdit* txtTitle1Font = nullptr;
    QLineEdit* txtTitle2Font = nullptr;
    QComboBox* cmbTitle1Alignment = nullptr;
    QComboBox* cmbTitle2Alignment = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildFrame(const QString& name, QLineEdit*& text, QLineEdit*& fontName, QComboBox*& alignment,
                          QLabel*& label, QPushButton*& fontButton);
    void chooseFont(TitleHolder& title, QLineEdit* fontName);

    QGroupBox* C1Elastic1;
    QGroupBox* C1Elastic2;
    QLabel* lblAlignment1;
    QLabel* lblAlignment2;
    QPushButton* cmdTitle1Font;
    QPushButton* cmdTitle2Font;
    // The dialog's own copies of the two titles (its font dialogs).
    TitleHolder title1_;
    TitleHolder title2_;
    bool saveTitle_ = false;
};

}  // namespace vantrep::report::ui
