// What the program's logic asks of the user interface. Logic never opens a
// window itself: the windows implement this with Qt dialogs, the command line
// and the tests with scripted answers.
#pragma once

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
