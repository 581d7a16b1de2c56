// A second program for the working-folder tests: takes a working copy of a
// report folder the way the program does at start-up, prints its path (an
// empty line after a failure) and keeps it, with its container lock, until
// its standard input ends.
//
//   hold_working_copy [--unprivileged] REPORT_FOLDER
//
// --unprivileged: when started as root, first become the user "nobody", so
// that file permissions apply to it.
#include "session/Ui.h"
#include "session/WorkingFolder.h"

#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

using namespace vantrep::session;

// Message boxes go to standard error; the helper never waits for an answer.
class StderrUi : public Ui {
public:
    MessageAnswer message(const QString& text, const QString&, MessageIcon, MessageButtons) override {
        std::cerr << "message: " << text.toStdString() << std::endl;
        return MessageAnswer::Ok;
    }
    void setBusy(bool) override {}
    void flood(int) override {}
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QColor chooseColor(const QColor&, const QString&) override { return QColor(); }
    QString browseForFolder(const QString&, const QString&) override { return QString(); }
};

bool becomeNobody() {
    const gid_t nobodyGroup = 65534;
    const uid_t nobodyUser = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(nobodyGroup) == 0 && ::setuid(nobodyUser) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool unprivileged = argc == 3 && std::strcmp(argv[1], "--unprivileged") == 0;
    if (argc != 2 && !unprivileged) {
        std::cerr << "usage: hold_working_copy [--unprivileged] REPORT_FOLDER" << std::endl;
        return 2;
    }
    if (unprivileged && ::geteuid() == 0 && !becomeNobody()) {
        std::perror("hold_working_copy: cannot become nobody");
        return 2;
    }
    StderrUi ui;
    WorkingFolderLock lock;
    const QString copy = CopyToTempFolder(QString::fromLocal8Bit(argv[argc - 1]), lock, ui);
    std::cout << copy.toStdString() << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
