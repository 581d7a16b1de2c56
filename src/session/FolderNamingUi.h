// The Ui a session talks through: it passes everything on to the window's
// (or the command line's) Ui, but a message that names a file of the working
// copy names it in the report folder the user opened instead, since the
// working copy is the program's own business and gone after the run.
#pragma once

#include "session/Ui.h"

namespace vantrep::session {

class FolderNamingUi : public Ui {
public:
    // `workingFolder` and `openedFolder` are read at each message; both end in "/".
    FolderNamingUi(Ui& shown, const QString& workingFolder, const QString& openedFolder)
        : shown_(shown), workingFolder_(workingFolder), openedFolder_(openedFolder) {}

    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        QString named = text;
        if (!workingFolder_.isEmpty() && !openedFolder_.isEmpty()) named.replace(workingFolder_, openedFolder_);
        return shown_.message(named, title, icon, buttons);
    }
    void setBusy(bool busy) override { shown_.setBusy(busy); }
    void flood(int percent) override { shown_.flood(percent); }
    QString saveFileName(const QString& title, const QString& filter, const QString& proposed) override {
        return shown_.saveFileName(title, filter, proposed);
    }
    QColor chooseColor(const QColor& initial, const QString& title) override {
        return shown_.chooseColor(initial, title);
    }
    QString browseForFolder(const QString& prompt, const QString& folderName) override {
        return shown_.browseForFolder(prompt, folderName);
    }

private:
    Ui& shown_;
    const QString& workingFolder_;
    const QString& openedFolder_;
};

}  // namespace vantrep::session
