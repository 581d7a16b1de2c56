// The command line learns the application font on a thread of its own: what
// it learnt there must measure as the font learnt here does.
#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>

#include "app/FontMeasureAhead.h"

namespace vantrep::app {
namespace {

TEST(FontMeasureAhead, MeasuresAsTheApplicationFontLearntHere) {
    QFont font("Liberation Sans");
    font.setPointSize(9);
    const QFont before = QGuiApplication::font();
    QGuiApplication::setFont(font);
    grid::FontMeasure here{QFont()};
    FontMeasureAhead ahead;
    EXPECT_EQ(ahead.digitsShareOneWidth(), here.digitsShareOneWidth());
    for (const QString& text : {QStringLiteral("12,345,678"), QStringLiteral("Grand Total"),
                                QStringLiteral("COCA-COLA ZERO 330ML"), QStringLiteral("Ünïcödé wörds")}) {
        EXPECT_EQ(ahead.widthTwips(text, false), here.widthTwips(text, false)) << text.toStdString();
        EXPECT_EQ(ahead.widthTwips(text, true), here.widthTwips(text, true)) << text.toStdString();
    }
    // A wider font measures wider: the thread took the application font, not a default.
    QFont wide = font;
    wide.setPointSize(18);
    QGuiApplication::setFont(wide);
    FontMeasureAhead large;
    EXPECT_GT(large.widthTwips(QStringLiteral("Grand Total"), false), here.widthTwips(QStringLiteral("Grand Total"), false));
    QGuiApplication::setFont(before);
}

}  // namespace
}  // namespace vantrep::app
