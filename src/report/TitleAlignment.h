// The alignment of a title, kept inside its text with vertical bars the way
// the print surface cuts a header into left, centre and right parts:
// "title||" is left, "|title|" centred and "||title" right-aligned.
#pragma once

#include <QString>

namespace vantrep::report {

// The alignment codes a title stands for (the band items' codes).
constexpr int titleLeft = 6;
constexpr int titleCenter = 7;
constexpr int titleRight = 8;

// A text that begins with "||" is right-aligned, one that begins with a
// single "|" centred, anything else left-aligned.
int titleAlignment(const QString& text);

// The title stored with the alignment named "Left", "Right" or "Center";
// any other name stores it as it is.
QString alignedTitle(const QString& title, const QString& alignment);

// "Left", "Center" or "Right" for an alignment code.
QString alignmentName(int code);

// The text with every "|" removed, as the title boxes show it.
QString titleWithoutBars(const QString& text);

}  // namespace vantrep::report
