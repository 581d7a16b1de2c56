#include "app/ConsoleUi.h"

#include <cstdio>

namespace vantrep::app {

session::MessageAnswer ConsoleUi::message(const QString& text, const QString&, session::MessageIcon,
                                          session::MessageButtons buttons) {
    QString lines = text;
    lines.replace("\r\n", "\n");
    lines.replace('\r', '\n');
    std::fprintf(stderr, "%s\n", qPrintable(lines));
    const bool yesNo = buttons == session::MessageButtons::YesNo || buttons == session::MessageButtons::YesNoCancel;
    return yesNo ? session::MessageAnswer::Yes : session::MessageAnswer::Ok;
}

}  // namespace vantrep::app
