// A test with a report folder of its own: a temporary folder that also holds
// the working copies (TMPDIR), the locale pinned to US English, a scripted Ui
// and a text measure of fixed width per character.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include "grid/GridModel.h"
#include "session/support/FakeUi.h"

namespace vantrep::analysis {

class FixedWidthMeasure : public grid::TextMeasure {
public:
    int widthTwips(const QString& text, bool) override { return static_cast<int>(text.size()) * 100; }
};

class ReportFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        folder = temp.path() + "/Report/";
        QDir().mkpath(folder);
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    QTemporaryDir temp;
    QString folder;  // ends in "/"
    session::testing::FakeUi ui;
    FixedWidthMeasure measure;
};

}  // namespace vantrep::analysis
