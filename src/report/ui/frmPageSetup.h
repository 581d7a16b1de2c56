// The preview's page set-up dialog: the paper, the orientation and the four
// margins of the report shown (PageSetup.h). Margins are shown in inches
// where the locale measures in inches, else in millimetres. Portrait may let
// a report too wide for it turn to landscape, as reports do by default. OK is
// refused while the margins leave too little room to print.
#pragma once

#include <QDialog>
#include <QPageSize>

#include <vector>

#include "report/PageSetup.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vantrep::report::ui {

class frmPageSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmPageSetup(const PageSetup& setup, QWidget* parent = nullptr);

    // The set-up as the dialog shows it. A margin left as shown keeps its
    // exact value.
    PageSetup pageSetup() const;

    QComboBox* cmbPaper;
    QRadioButton* optPortrait;
    QRadioButton* optLandscape;
    QCheckBox* chkTurnWhenTooWide;
    QDoubleSpinBox* txtMarginLeft;
    QDoubleSpinBox* txtMarginRight;
    QDoubleSpinBox* txtMarginTop;
    QDoubleSpinBox* txtMarginBottom;
    QLabel* lblNoRoom;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

private:
    // A margin's box with the value it started with.
    struct Margin {
        QDoubleSpinBox* box;
        double twips;
        double shown;
    };

    QDoubleSpinBox* marginBox(const QString& name, double twips);
    double marginTwips(const Margin& margin) const;
    void check();

    PageSetup setup_;
    std::vector<QPageSize> papers_;
    double twipsPerUnit_;
    std::vector<Margin> margins_;  // left, right, top, bottom
};

}  // namespace vantrep::report::ui
