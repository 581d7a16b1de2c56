// What the program's logic asks of the user interface. Logic never opens a
// window itself: the windows implement this with Qt dialogs, the command line
// and the tests with scripted answers.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace vantrep::session {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // A message box: `text` (lines separated by "\r\n" as the program writes
    // them), `title` (empty: the application's title), icon and buttons.
    virtual MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons) = 0;

    // Convenience for the common cases.
    void critical(const QString& text) { message(text, QString(), MessageIcon::Critical, MessageButtons::Ok); }
    void plain(const QString& text) { message(text, QString(), MessageIcon::None, MessageButtons::Ok); }

    // The busy pointer for long work; nested calls nest.
    virtual void setBusy(bool busy) = 0;
    // Progress of a long fill, 0..100; 0 also clears it.
    virtual void flood(int percent) = 0;

    // A save-file dialog titled `title` with one name filter ("JPEG Files
    // (*.jpg)") and the proposed file name; it asks before replacing a file.
    // Returns the chosen path, or "" when the user cancelled.
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& proposed) = 0;

    // A colour dialog titled `title` that starts at `initial`. Returns the
    // chosen colour, or an invalid colour when the user cancelled.
    virtual QColor chooseColor(const QColor& initial, const QString& title) = 0;

    // The folder browse dialog: `prompt` above the folder tree and
    // `folderName` proposed as the name of the folder to make or choose below
    // the selected one. Returns the full path (tree folder + "/" + name), or
    // "" when the user cancelled. A Ui without windows (the command line)
    // answers "" as if cancelled.
    virtual QString browseForFolder(const QString& prompt, const QString& folderName) = 0;
};

// Shows the busy pointer for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(Ui& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { ui_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Ui& ui_;
};

}  // namespace vantrep::session
