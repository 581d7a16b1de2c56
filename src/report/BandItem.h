// One item of a band line: the 15 fields between ";" in their order, with the
// defaults an empty field takes. Kinds: "lbl" label, "txt" data field, "fun"
// function or aggregate, "img" picture, "lin" line; any other kind prints an
// empty cell.
#pragma once

#include <QString>

#include "print/PrintFont.h"

namespace vantrep::report {

struct BandItem {
    QString kind;  // lower-cased
    QString text;  // label text, field name, function, "row,column" or unused
    double width = 0;  // twips; 0 = automatic
    double height = 0;  // twips; 0 = automatic
    int maxChars = 0;  // 0 = no limit
    int align = 6;  // cell alignment code; picture code; line direction
    QString fontName;
    double fontSize = 0;  // points
    bool bold = false;
    bool italic = false;  // style flag 2
    bool underline = false;  // style flag 3
    bool strikeOut = false;  // style flag 4
    QString format;  // display format; for "lin": "colour,style,width"
    int cellAttribute = 0;
    int color = 0;

    // The item's font with all four style flags.
    print::PrintFont font() const;
};

// Parses one item string. A trailing "*" is dropped first (it marks the
// band, not the item). An empty font name or a size of 0 or less takes the
// `current` font's.
BandItem parseBandItem(const QString& item, const print::PrintFont& current);

}  // namespace vantrep::report
