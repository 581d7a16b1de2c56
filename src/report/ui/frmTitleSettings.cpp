#include "report/ui/frmTitleSettings.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/TitleAlignment.h"

namespace vantrep::report::ui {

frmTitleSettings::frmTitleSettings(QWidget* parent) : QDialog(parent) {
    setObjectName("frmTitleSettings");
    auto* layout = new QVBoxLayout(this);
    C1Elastic1 = buildFrame("1", txtTitle1, txtTitle1Font, cmbTitle1Alignment, lblAlignment1, cmdTitle1Font);
    C1Elastic2 = buildFrame("2", txtTitle2, txtTitle2Font, cmbTitle2Alignment, lblAlignment2, cmdTitle2Font);
    layout->addWidget(C1Elastic1);
    layout->addWidget(C1Elastic2);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cmdOk = buttons->addButton(QDialogButtonBox::Ok);
    cmdOk->setObjectName("cmdOk");
    QPushButton* cmdCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName("cmdCancel");
    connect(cmdOk, &QPushButton::clicked, this, &frmTitleSettings::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTitleSettings::cmdCancel_Click);
    layout->addWidget(buttons);
    connect(cmdTitle1Font, &QPushButton::clicked, this, [this] { chooseFont(title1_, txtTitle1Font); });
    connect(cmdTitle2Font, &QPushButton::clicked, this, [this] { chooseFont(title2_, txtTitle2Font); });
    resize(520, 0);
}

QGroupBox* frmTitleSettings::buildFrame(const QString& name, QLineEdit*& text, QLineEdit*& fontName,
                                        QComboBox*& alignment, QLabel*& label, QPushButton*& fontButton) {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("C1Elastic" + name);
    auto* grid = new QGridLayout(frame);
    text = new QLineEdit(frame);
    text->setObjectName("txtTitle" + name);
    fontName = new QLineEdit(frame);
    fontName->setObjectName("txtTitle" + name + "Font");
    fontName->setReadOnly(true);
    fontButton = new QPushButton("Font...", frame);
    fontButton->setObjectName("cmdTitle" + name + "Font");
    label = new QLabel("Alignment", frame);
    label->setObjectName("lblAlignment");
    alignment = new QComboBox(frame);
    alignment->setObjectName("cmbTitle" + name + "Alignment");
    alignment->addItems({"Left", "Right", "Center"});
    grid->addWidget(new QLabel("Title", frame), 0, 0);
    grid->addWidget(text, 0, 1, 1, 3);
    grid->addWidget(new QLabel("Font", frame), 1, 0);
    grid->addWidget(fontName, 1, 1);
    grid->addWidget(fontButton, 1, 2);
    grid->addWidget(label, 2, 0);
    grid->addWidget(alignment, 2, 1);
    grid->setColumnStretch(1, 1);
    return frame;
}

void frmTitleSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activate();
}

void frmTitleSettings::activate() {
    for (QWidget* widget : std::initializer_list<QWidget*>{lblAlignment1, lblAlignment2, cmbTitle1Alignment,
                                                           cmbTitle2Alignment})
        widget->setVisible(ShowAlignment);
    C1Elastic1->setTitle(MainTitle);
    C1Elastic2->setTitle(SubTitle);
    if (Title1) title1_ = *Title1;
    if (Title2) title2_ = *Title2;
    txtTitle1Font->setText(title1_.font.name);
    txtTitle2Font->setText(title2_.font.name);
    txtTitle1->setText(titleWithoutBars(title1_.Tag));
    txtTitle2->setText(titleWithoutBars(title2_.Tag));
    cmbTitle1Alignment->setCurrentText(alignmentName(titleAlignment(title1_.Tag)));
    cmbTitle2Alignment->setCurrentText(alignmentName(titleAlignment(title2_.Tag)));
}

void frmTitleSettings::chooseFont(TitleHolder& title, QLineEdit* fontName) {
    QFont current(title.font.name);
    current.setPointSizeF(title.font.size);
    current.setBold(title.font.bold);
    current.setItalic(title.font.italic);
    current.setUnderline(title.font.underline);
    current.setStrikeOut(title.font.strikeOut);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, current, this, "Font");
    if (!ok) return;
    title.font = print::PrintFont{chosen.family(), chosen.pointSizeF() > 0 ? chosen.pointSizeF() : title.font.size,
                                  chosen.bold(), chosen.italic(), chosen.underline(), chosen.strikeOut()};
    // Qt's font dialog has no colour: the colour is chosen right after it.
    QColor colour = QColorDialog::getColor(print::colorFromCode(title.color), this, "Font Colour");
    if (colour.isValid()) title.color = colour.red() | colour.green() << 8 | colour.blue() << 16;
    fontName->setText(title.font.name);
    fontName->setFocus();
}

void frmTitleSettings::cmdOk_Click() {
    if (ShowAlignment) {
        title1_.Tag = alignedTitle(txtTitle1->text(), cmbTitle1Alignment->currentText());
        title2_.Tag = alignedTitle(txtTitle2->text(), cmbTitle2Alignment->currentText());
    } else {
        title1_.Tag = txtTitle1->text();
        title2_.Tag = txtTitle2->text();
    }
    if (Title1) *Title1 = title1_;
    if (Title2) *Title2 = title2_;
    saveTitle_ = true;
    hide();
    done(QDialog::Accepted);
}

void frmTitleSettings::cmdCancel_Click() {
    saveTitle_ = false;
    hide();
    done(QDialog::Rejected);
}

}  // namespace vantrep::report::ui
