#include "report/ui/frmPageSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "print/PaperSize.h"

namespace vantrep::report::ui {

namespace {

// The widest margin the boxes take, in inches.
constexpr double widestMarginInches = 40;

}  // namespace

frmPageSetup::frmPageSetup(const PageSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup), papers_(print::offeredPapers()) {
    setObjectName("frmPageSetup");
    setWindowTitle("Page Setup");
    const bool inches = locale().measurementSystem() != QLocale::MetricSystem;
    twipsPerUnit_ = inches ? 1440 : 1440 / 25.4;

    bool offered = false;
    for (const QPageSize& paper : papers_) offered = offered || paper.isEquivalentTo(setup.Paper);
    // A paper chosen in the print dialog stays choosable.
    if (!offered) papers_.push_back(setup.Paper);
    cmbPaper = new QComboBox(this);
    cmbPaper->setObjectName("cmbPaper");
    for (const QPageSize& paper : papers_) {
        cmbPaper->addItem(paper.name());
        if (paper.isEquivalentTo(setup.Paper)) cmbPaper->setCurrentIndex(cmbPaper->count() - 1);
    }
    auto* paperLabel = new QLabel("&Paper size:", this);
    paperLabel->setBuddy(cmbPaper);

    auto* orientation = new QGroupBox("Orientation", this);
    optPortrait = new QRadioButton("P&ortrait", orientation);
    optPortrait->setObjectName("optPortrait");
    optLandscape = new QRadioButton("&Landscape", orientation);
    optLandscape->setObjectName("optLandscape");
    chkTurnWhenTooWide = new QCheckBox("Turn to landscape when the report is too &wide", orientation);
    chkTurnWhenTooWide->setObjectName("chkTurnWhenTooWide");
    optLandscape->setChecked(setup.Orientation == 1);
    optPortrait->setChecked(setup.Orientation != 1);
    chkTurnWhenTooWide->setChecked(setup.turnsWhenTooWide());
    chkTurnWhenTooWide->setEnabled(optPortrait->isChecked());
    auto* orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(optPortrait);
    orientationLayout->addWidget(chkTurnWhenTooWide);
    orientationLayout->addWidget(optLandscape);

    auto* margins = new QGroupBox(inches ? "Margins (inches)" : "Margins (millimetres)", this);
    auto* marginLayout = new QFormLayout(margins);
    const std::pair<const char*, double> sides[] = {{"Le&ft:", setup.MarginLeft},
                                                     {"&Right:", setup.MarginRight},
                                                     {"&Top:", setup.MarginTop},
                                                     {"&Bottom:", setup.MarginBottom}};
    for (const auto& [caption, twips] : sides) {
        QDoubleSpinBox* box = marginBox(QString(caption).remove('&').remove(':'), twips);
        marginLayout->addRow(caption, box);
        margins_.push_back({box, twips, box->value()});
    }
    txtMarginLeft = margins_[0].box;
    txtMarginRight = margins_[1].box;
    txtMarginTop = margins_[2].box;
    txtMarginBottom = margins_[3].box;

    lblNoRoom = new QLabel("The margins leave too little room to print on this paper.", this);
    lblNoRoom->setObjectName("lblNoRoom");
    lblNoRoom->setStyleSheet("color: #b00000");
    lblNoRoom->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    cmdOk = buttons->addButton(QDialogButtonBox::Ok);
    cmdOk->setObjectName("cmdOk");
    cmdCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* paperRow = new QFormLayout;
    paperRow->addRow(paperLabel, cmbPaper);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paperRow);
    layout->addWidget(orientation);
    layout->addWidget(margins);
    layout->addWidget(lblNoRoom);
    layout->addWidget(buttons);

    connect(cmbPaper, &QComboBox::currentIndexChanged, this, &frmPageSetup::check);
    connect(optPortrait, &QRadioButton::toggled, this, [this](bool portrait) {
        chkTurnWhenTooWide->setEnabled(portrait);
        check();
    });
    connect(chkTurnWhenTooWide, &QCheckBox::toggled, this, &frmPageSetup::check);
    for (const Margin& margin : margins_)
        connect(margin.box, &QDoubleSpinBox::valueChanged, this, &frmPageSetup::check);
    check();
}

QDoubleSpinBox* frmPageSetup::marginBox(const QString& name, double twips) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName("txtMargin" + name);
    const bool inches = twipsPerUnit_ == 1440;
    box->setDecimals(inches ? 2 : 1);
    box->setSingleStep(inches ? 0.1 : 1);
    box->setSuffix(inches ? " in" : " mm");
    box->setRange(0, widestMarginInches * 1440 / twipsPerUnit_);
    box->setValue(twips / twipsPerUnit_);
    return box;
}

double frmPageSetup::marginTwips(const Margin& margin) const {
    if (margin.box->value() == margin.shown) return margin.twips;
    return std::round(margin.box->value() * twipsPerUnit_);
}

PageSetup frmPageSetup::pageSetup() const {
    PageSetup setup = setup_;
    setup.Paper = papers_[static_cast<size_t>(std::max(0, cmbPaper->currentIndex()))];
    if (optLandscape->isChecked())
        setup.Orientation = 1;
    else if (chkTurnWhenTooWide->isChecked())
        setup.Orientation.reset();
    else
        setup.Orientation = 0;
    setup.MarginLeft = marginTwips(margins_[0]);
    setup.MarginRight = marginTwips(margins_[1]);
    setup.MarginTop = marginTwips(margins_[2]);
    setup.MarginBottom = marginTwips(margins_[3]);
    return setup;
}

void frmPageSetup::check() {
    const bool room = pageSetup().leavesRoom();
    lblNoRoom->setVisible(!room);
    cmdOk->setEnabled(room);
}

}  // namespace vantrep::report::ui
