// One report title as the preview keeps it: the text (with its alignment
// bars, see TitleAlignment.h) and the font and colour it prints in.
#pragma once

#include <QString>

#include "print/PrintFont.h"

namespace vantrep::report {

struct TitleHolder {
    QString Tag;  // the title text
    print::PrintFont font;
    int color = 0;  // 24-bit colour number
};

}  // namespace vantrep::report
