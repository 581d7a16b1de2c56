// The filter file kept beside a saved structure: its name, its text read
// back, the values it may hold, damaged files, and how saving writes it,
// replaces it and removes one left from before.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "session/FilterFile.h"
#include "session/ReportOpening.h"
#include "session/ReportSaving.h"
#include "support/DbfreadRows.h"
#include "support/FakeUi.h"
#include "support/FileBytes.h"

namespace vantrep::session {
namespace {

using testing::bytesOf;
using testing::writeFile;

TEST(FilterFileName, FollowsTheStructuresBaseNameAndTheCaseOfItsExtension) {
    EXPECT_EQ(FilterFileNameFor("/r/Brands/Brands.str"), "/r/Brands/Brands.flt");
    EXPECT_EQ(FilterFileNameFor("/layouts/Media across.STR"), "/layouts/Media across.FLT");
    EXPECT_EQ(FilterFileNameFor("/layouts/spots.v2.Dtr"), "/layouts/spots.v2.flt");

    QTemporaryDir temp;
    EXPECT_EQ(FilterFileOf(temp.path() + "/Brands.str"), "");
    writeFile(temp.path() + "/BRANDS.Flt", "x");
    EXPECT_EQ(FilterFileOf(temp.path() + "/Brands.str"), temp.path() + "/BRANDS.Flt");
}

TEST(FilterFileText, ReadsBackAsWrittenAndAPersonCanReadIt) {
    const QList<SavedFilter> filters{{"BRAND", {"ŠOLUPO MOBILE", "BAKALU COLA   "}, true},
                                     {"MONTH", {"Feb", "Mar"}, false},
                                     {"CHANNEL", {"O'Brien \"Live\" [x]"}, false}};
    const QByteArray text = FilterFileText(filters);
    EXPECT_TRUE(text.contains("\"FName\": \"BRAND\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("ŠOLUPO MOBILE")) << "UTF-8, not escapes";
    EXPECT_TRUE(text.contains('\n'));

    QList<SavedFilter> read;
    QString error;
    ASSERT_TRUE(ParseFilterFile(text, read, error)) << error.toStdString();
    ASSERT_EQ(read.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read[i].FName, filters[i].FName);
        EXPECT_EQ(read[i].values, filters[i].values);
        EXPECT_EQ(read[i].ShowOthers, filters[i].ShowOthers);
    }
}

TEST(FilterFileText, DamagedTextsAreRefusedWithAReason) {
    const char* damaged[] = {
        "",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [",
        "[]",
        "{\"format\": \"Other\", \"version\": 1, \"filters\": []}",
        "{\"format\": \"VantRep filters\", \"version\": 2, \"filters\": []}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": {}}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{\"values\": [], \"ShowOthers\": false}]}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{\"FName\": \"A\", \"ShowOthers\": false}]}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{\"FName\": \"A\", \"values\": [1], "
        "\"ShowOthers\": false}]}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{\"FName\": \"A\", \"values\": []}]}",
        "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [\"A\"]}",
    };
    for (const char* text : damaged) {
        QList<SavedFilter> read{{"KEEP", {"x"}, false}};
        QString error;
        EXPECT_FALSE(ParseFilterFile(text, read, error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
        EXPECT_TRUE(read.isEmpty()) << text;
    }
}

FieldDef field(const QString& fname, const QString& ftype, const QString& role) {
    FieldDef f;
    f.FName = fname;
    f.FDesc = fname;
    f.FType = ftype;
    f.Layout = role;
    return f;
}

TEST(FilterFileValues, OnlyValuesTheFieldCanHoldAreAccepted) {
    const FieldDef size = field("SIZE", "N", "R");
    EXPECT_TRUE(AcceptsFilterValue(size, false, "12"));
    EXPECT_TRUE(AcceptsFilterValue(size, false, " -3.5 "));
    EXPECT_FALSE(AcceptsFilterValue(size, false, "1) OR (1=1"));
    EXPECT_FALSE(AcceptsFilterValue(size, true, "1e5"));
    EXPECT_TRUE(AcceptsFilterValue(field("MONTH", "N", "C"), false, "Feb"));
    EXPECT_FALSE(AcceptsFilterValue(field("MONTH", "N", "C"), false, "Others"));  // no month number
    EXPECT_TRUE(AcceptsFilterValue(field("WEEKDAY", "N", "C"), false, "Others"));
    EXPECT_FALSE(AcceptsFilterValue(field("WEEKDAY", "N", "C"), false, "Someday"));
    EXPECT_TRUE(AcceptsFilterValue(field("DURATION", "N", "P"), false, "Others"));
    // Dimension values pass the check of their role.
    EXPECT_FALSE(AcceptsFilterValue(field("BRAND", "C", "R"), false, "\") OR (1=1"));
    EXPECT_TRUE(AcceptsFilterValue(field("BRAND", "C", "R"), false, "A, B; C"));
    EXPECT_FALSE(AcceptsFilterValue(field("BRAND", "C", "C"), false, "A, B"));
    // Page fields and listings quote any text.
    EXPECT_TRUE(AcceptsFilterValue(field("CHANNEL", "C", "P"), false, "\") OR (1=1"));
    EXPECT_TRUE(AcceptsFilterValue(field("BRAND", "C", "R"), true, "\"quoted\""));
}

class FilterFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        delivery = temp.path() + "/Delivery";
        QDir().mkpath(delivery);
        const QString samples = QString(VANTREP_SAMPLES_DIR) + "/summary";
        for (const QString& name : QDir(samples).entryList(QDir::Files))
            QFile::copy(samples + "/" + name, delivery + "/" + name);
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    void open() {
        session = std::make_unique<Session>(ui, delivery + "/Brand_Spends.str");
        ASSERT_EQ(OpenDizave(*session, delivery + "/Brand_Spends.str"), OpenOutcome::Opened);
    }
    int fieldIndex(const QString& fname) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == fname) return i;
        return 0;
    }
    ValueList& list(const QString& fname) { return session->cmbField[static_cast<size_t>(fieldIndex(fname))]; }

    QTemporaryDir temp;
    QString delivery;
    testing::FakeUi ui;
    std::unique_ptr<Session> session;
};

TEST_F(FilterFiles, SavingWritesTheFilteredFieldsBesideTheStructureWhichKeepsItsColumns) {
    open();
    list("BRAND").items = QStringList{"Filtered Brand", "BAKALU COLA", "BALIPO COLA"};
    session->aDims(fieldIndex("BRAND")).ShowOthers = true;
    list("CHANNEL").items = QStringList{"Filtered Channel", "BAVO TV"};
    list("LANGUAGE").items = QStringList{"Filtered Language"};  // marked, but no value: no filter
    const QString brands = temp.path() + "/Brands";
    ui.folders.push_back(brands);
    ASSERT_EQ(SaveReport(*session), SaveOutcome::Saved);
    EXPECT_EQ(QDir(brands).entryList(QDir::Files), (QStringList{"Brands.flt", "Brands.str", "DATA.DBF", "DATA.FPT"}));

    const QJsonObject root = QJsonDocument::fromJson(bytesOf(brands + "/Brands.flt")).object();
    const QJsonArray filters = root.value("filters").toArray();
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0].toObject().value("FName").toString(), "CHANNEL");  // in field order
    EXPECT_EQ(filters[0].toObject().value("values").toArray(), QJsonArray{"BAVO TV"});
    EXPECT_FALSE(filters[0].toObject().value("ShowOthers").toBool());
    EXPECT_EQ(filters[1].toObject().value("FName").toString(), "BRAND");
    EXPECT_EQ(filters[1].toObject().value("values").toArray(), (QJsonArray{"BAKALU COLA", "BALIPO COLA"}));
    EXPECT_TRUE(filters[1].toObject().value("ShowOthers").toBool());

    // Other programs read the structure as before: the same columns, nothing more.
    const QJsonArray saved = testing::readWithDbfread(brands + "/Brands.str");
    const QJsonArray sample = testing::readWithDbfread(delivery + "/Brand_Spends.str");
    ASSERT_EQ(saved.size(), sample.size());
    EXPECT_EQ(saved[0].toObject().keys(), sample[0].toObject().keys());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FilterFiles, WithNoFilterNoFileIsWrittenAndOneFromBeforeIsRemoved) {
    open();
    const QString layouts = temp.path() + "/layouts";
    QDir().mkpath(layouts);
    ASSERT_EQ(WriteStructure(*session, layouts + "/Plain.STR"), "");
    EXPECT_EQ(QDir(layouts).entryList(QDir::Files), QStringList{"Plain.STR"});

    list("MEDIA").items = QStringList{"Filtered Media", "TV"};
    ASSERT_EQ(WriteStructure(*session, layouts + "/Plain.STR"), "");
    EXPECT_EQ(QDir(layouts).entryList(QDir::Files), (QStringList{"Plain.FLT", "Plain.STR"}));
    // A filter file of another case is replaced under its own name.
    QFile::rename(layouts + "/Plain.FLT", layouts + "/Plain.flt");
    ASSERT_EQ(WriteStructure(*session, layouts + "/Plain.STR"), "");
    EXPECT_EQ(QDir(layouts).entryList(QDir::Files), (QStringList{"Plain.flt", "Plain.STR"}));

    list("MEDIA").items = QStringList{"Media", "TV", "RADIO"};
    ASSERT_EQ(WriteStructure(*session, layouts + "/Plain.STR"), "");
    EXPECT_EQ(QDir(layouts).entryList(QDir::Files), QStringList{"Plain.STR"});
}

TEST_F(FilterFiles, AFailedSaveLeavesTheOldFilterFile) {
    open();
    const QString brands = temp.path() + "/Brands";
    QDir().mkpath(brands + "/Brands.str");  // a folder where the structure should go
    writeFile(brands + "/Brands.flt", "old filters");
    list("MEDIA").items = QStringList{"Filtered Media", "TV"};
    ui.folders.push_back(brands);
    EXPECT_EQ(SaveReport(*session), SaveOutcome::Failed);
    EXPECT_EQ(bytesOf(brands + "/Brands.flt"), "old filters");
    EXPECT_EQ(QDir(brands).entryList(QDir::Files), (QStringList{"Brands.flt", "DATA.DBF", "DATA.FPT"}));
}

TEST_F(FilterFiles, ReadingPutsKnownFieldsFiltersIntoTheValueListsAndPassesOverOthers) {
    writeFile(delivery + "/Brand_Spends.flt",
              FilterFileText({{"NOSUCH", {"x"}, true},
                              {"media", {"TV", "NOT IN THE DATA"}, true},
                              {"MONTH", {"Feb", "1) OR (1=1"}, false},
                              {"BRAND", {"\") OR (1=1"}, false},
                              {"CHANNEL", {"\") OR (1=1"}, false}}));
    open();
    ReadFilterFile(*session);
    EXPECT_EQ(list("MEDIA").items, (QStringList{"Filtered Media", "TV", "NOT IN THE DATA"}));
    EXPECT_TRUE(session->aDims(fieldIndex("MEDIA")).ShowOthers);
    EXPECT_EQ(list("MONTH").items, (QStringList{"Filtered Month", "Feb"}));
    EXPECT_FALSE(list("BRAND").filtered()) << "no value left";
    EXPECT_EQ(list("CHANNEL").items, (QStringList{"Filtered Channel", "\") OR (1=1"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(ui.messages[0].text.contains("MONTH: 1) OR (1=1\r\nBRAND: \") OR (1=1"))
        << ui.messages[0].text.toStdString();
    // The message names the file where the user keeps it, not the working copy.
    EXPECT_TRUE(ui.messages[0].text.contains(QDir::cleanPath(delivery) + "/Brand_Spends.flt"))
        << ui.messages[0].text.toStdString();
}

TEST_F(FilterFiles, ADamagedFileLeavesTheListsAsTheyAreWithOneWarning) {
    writeFile(delivery + "/Brand_Spends.flt", "{\"format\": \"VantRep filters\", \"version\": 1, \"filters\": [{");
    open();
    const std::vector<ValueList> before = session->cmbField;
    ReadFilterFile(*session);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(ui.messages[0].text.contains("cannot be read")) << ui.messages[0].text.toStdString();
    ASSERT_EQ(session->cmbField.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(session->cmbField[i].items, before[i].items) << i;
}

}  // namespace
}  // namespace vantrep::session
