#include "design/ui/frmAbout.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "design/ui/MakerDetails.h"

namespace vantrep::design::ui {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

frmAbout::frmAbout(session::Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    const QString title = QApplication::applicationName();
    setWindowTitle("About " + title);

    auto* picIcon = label(this, "picIcon", QString());
    picIcon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = label(this, "lblTitle", title);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    auto* lblVersion = label(this, "lblVersion",
                             QString("Version %1.%2.%3").arg(VANTREP_VERSION_MAJOR).arg(VANTREP_VERSION_MINOR).arg(VANTREP_VERSION_PATCH));
    QString desc;
    for (const char* line : {"Report and graph generation utility", "Developed by Quorvel", MakerDetails::postalAddress,
                             MakerDetails::telephoneAndFax, MakerDetails::email})
        desc += QString(line) + "\n";
    auto* lblDesc = label(this, "lblDesc", desc);

    auto* lblUrl = label(this, "lblUrl", QString("<a href=\"%1\">%1</a>").arg(MakerDetails::webAddress));
    lblUrl->setCursor(Qt::PointingHandCursor);
    lblUrl->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(lblUrl, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });

    auto* lblDisclaimer = label(this, "lblDisclaimer",
                                "Warning: This computer program is protected by copyright law and international "
                                "treaties. Unauthorized reproduction or distribution of this program, or any portion "
                                "of it, may result in severe civil and criminal penalties, and will be prosecuted to "
                                "the maximum extent possible under the law.");
    lblDisclaimer->setWordWrap(true);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblDisclaimer->setFont(small);
    lblDisclaimer->setStyleSheet("color: #555");

    auto* cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* cmdSysInfo = new QPushButton("System Info...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblDesc);
    text->addWidget(lblUrl);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(18, 18, 18, 14);
    all->addLayout(top);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    all->addWidget(line);
    all->addLayout(bottom);
    setMinimumWidth(520);
}

QString frmAbout::systemInfoProgram() {
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "lshw-gtk"}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) return found;
    }
    return QString();
}

void frmAbout::StartSysInfo() {
    const QString program = systemInfoProgram();
    if (!program.isEmpty() && QProcess::startDetached(program, {})) return;
    ui_.message("System Information Is Unavailable At This Time", QString(), session::MessageIcon::None,
                session::MessageButtons::Ok);
}

}  // namespace vantrep::design::ui
