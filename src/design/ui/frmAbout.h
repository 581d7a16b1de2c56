// The About box: the program's title, version, description and the maker's
// contact lines, a link to the maker's web site, and "System Info..." which
// starts a system-information program found on this system.
#pragma once

#include <QDialog>

#include "session/Ui.h"

class QLabel;

namespace vantrep::design::ui {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(session::Ui& ui, QWidget* parent = nullptr);

    // The system-information program to start: the first of the known ones
    // found on PATH, or "" when there is none.
    static QString systemInfoProgram();

    // "System Info...": starts the program, or tells that there is none.
    void StartSysInfo();

private:
    session::Ui& ui_;
};

}  // namespace vantrep::design::ui
