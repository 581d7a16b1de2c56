// The session's Ui without a window: messages that would be message boxes go
// to standard error with their line breaks, questions take their first
// answer (OK or Yes), and every file, colour or folder dialog is cancelled.
#pragma once

#include "session/Ui.h"

namespace vantrep::app {

class ConsoleUi : public session::Ui {
public:
    session::MessageAnswer message(const QString& text, const QString& title, session::MessageIcon icon,
                                   session::MessageButtons buttons) override;
    void setBusy(bool) override {}
    void flood(int) override {}
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QColor chooseColor(const QColor&, const QString&) override { return QColor(); }
    QString browseForFolder(const QString&, const QString&) override { return QString(); }
};

}  // namespace vantrep::app
