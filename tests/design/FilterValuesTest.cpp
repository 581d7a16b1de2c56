// The filter dialog's logic on the summary sample: the two lists as they are
// loaded, the drop rules, "Show Others" and OK's write-back.
#include <gtest/gtest.h>

#include <QSet>

#include "design/FilterValues.h"
#include "support/EditTable.h"
#include "support/OpenSample.h"

namespace vantrep::design {
namespace {

class Filter : public testing::OpenSample {
protected:
    QString openSummary() {
        const QString folder = copySample("summary");
        sample = folder + "DATA.DBF";
        return folder;
    }
    void openIt() {
        ASSERT_EQ(open(sample), analysis::RunOutcome::SummaryOpened) << ui.messages.back().text.toStdString();
    }
    session::ValueList& combo(const QString& name) { return session->cmbField[static_cast<size_t>(fieldIndex(name))]; }
    // The data rows 1..n of a list.
    static std::vector<int> firstRows(int n) {
        std::vector<int> rows;
        for (int r = 1; r <= n; ++r) rows.push_back(r);
        return rows;
    }
    static int rowOf(const FilterValues& f, FilterList id, const QString& value) {
        return static_cast<int>(f.values(id).indexOf(value)) + 1;
    }
    QString sample;
};

QSet<QString> Trimmed(const QStringList& values) {
    QSet<QString> out;
    for (const QString& v : values) out << v.trimmed();
    return out;
}

TEST_F(Filter, AMonthFieldListsAbbreviatedNamesAndOthersForMonthZero) {
    openSummary();
    ASSERT_EQ(testing::EditEvery(sample, "MONTH", 500, "0", true), 6);
    openIt();
    FilterValues f(*session, "Month", 2);
    EXPECT_EQ(f.list(FilterList::Available).textMatrix(0, 0), "Available");
    EXPECT_EQ(f.list(FilterList::Selected).textMatrix(0, 0), "Selected");
    EXPECT_TRUE(f.values(FilterList::Selected).isEmpty());  // an unfiltered column dimension
    EXPECT_EQ(Trimmed(f.values(FilterList::Available)),
              QSet<QString>({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec",
                             "Others"}));
    EXPECT_EQ(f.values(FilterList::Available).size(), 13);
}

TEST_F(Filter, WeekdaysOutsideOneToSevenAndAZeroDurationShowAsOthers) {
    openSummary();
    ASSERT_GT(testing::EditEvery(sample, "WEEKDAY", 7, "9", true), 0);
    openIt();
    EXPECT_EQ(Trimmed(FilterValues(*session, "Weekday", 2).values(FilterList::Available)),
              QSet<QString>({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Others"}));
    const QStringList durations = FilterValues(*session, "Duration", 0).values(FilterList::Available);
    EXPECT_TRUE(durations.contains("Others"));
    EXPECT_TRUE(durations.contains("30"));
    EXPECT_FALSE(durations.contains("0"));
}

TEST_F(Filter, SelectedValuesNeverStandInAvailable) {
    openSummary();
    openIt();
    const QStringList all = FilterValues(*session, "Media", 1).values(FilterList::Available);
    ASSERT_EQ(all.size(), 5);
    combo("MEDIA").items = QStringList{"Filtered Media", all[3], all[1]};
    FilterValues f(*session, "media", 1);  // the caption is found without regard to case
    EXPECT_EQ(f.values(FilterList::Selected), QStringList({all[3], all[1]}));
    EXPECT_EQ(f.values(FilterList::Available), QStringList({all[0], all[2], all[4]}));
}

TEST_F(Filter, APageFieldStartsWithItsValueListSelected) {
    openSummary();
    openIt();
    const QString vovi = FilterValues(*session, "Channel", 0).values(FilterList::Available).filter("VOVI TV").value(0);
    ASSERT_EQ(vovi.trimmed(), "VOVI TV");
    combo("CHANNEL").items = QStringList{"Channel", vovi};  // a page list counts even unmarked
    FilterValues f(*session, "Channel", 0);
    EXPECT_EQ(f.values(FilterList::Selected), QStringList({vovi}));
    EXPECT_FALSE(Trimmed(f.values(FilterList::Available)).contains("VOVI TV"));
    EXPECT_GT(f.values(FilterList::Available).size(), 100);
}

TEST_F(Filter, TwentyFourSelectedTakeOneMoreButNotTwoAndTwentyFiveTakeNothing) {
    openSummary();
    openIt();
    FilterValues f(*session, "Channel", 0);
    ASSERT_TRUE(f.drop(FilterList::Available, firstRows(24), FilterList::Selected, -1));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(f.drop(FilterList::Available, {1, 2}, FilterList::Selected, -1));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Maximum 25 filters are possible");
    EXPECT_EQ(ui.messages[0].icon, session::MessageIcon::Critical);
    EXPECT_EQ(f.values(FilterList::Selected).size(), 24);

    const QString next = f.values(FilterList::Available)[0];
    ASSERT_TRUE(f.drop(FilterList::Available, {1}, FilterList::Selected, 1));
    EXPECT_EQ(f.values(FilterList::Selected)[0], next);  // dropped on the first row: it goes before it
    const QStringList full = f.values(FilterList::Selected);
    EXPECT_FALSE(f.drop(FilterList::Available, {1}, FilterList::Selected, -1));
    EXPECT_FALSE(f.drop(FilterList::Selected, {3}, FilterList::Selected, 1));  // no reorder of a full list
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(f.values(FilterList::Selected), full);
    // Out of a full list is fine.
    EXPECT_TRUE(f.drop(FilterList::Selected, {25}, FilterList::Available, -1));
    EXPECT_EQ(f.values(FilterList::Selected).size(), 24);
}

TEST_F(Filter, AvailableIsNeitherReorderedNorEmptiedAndHeaderRowsDoNotMove) {
    openSummary();
    openIt();
    FilterValues f(*session, "Media", 1);
    const QStringList before = f.values(FilterList::Available);
    EXPECT_FALSE(f.drop(FilterList::Available, {3}, FilterList::Available, 1));
    EXPECT_FALSE(f.drop(FilterList::Available, firstRows(5), FilterList::Selected, -1));
    EXPECT_FALSE(f.drop(FilterList::Available, {0, 1}, FilterList::Selected, -1));
    EXPECT_FALSE(f.drop(FilterList::Available, {1}, FilterList::Selected, 0));  // onto the header row
    EXPECT_EQ(f.values(FilterList::Available), before);
    EXPECT_FALSE(f.ChangeFilter());
    EXPECT_TRUE(ui.messages.empty());

    // Within "Selected" the order is the user's.
    ASSERT_TRUE(f.drop(FilterList::Available, {1, 2, 3}, FilterList::Selected, -1));
    ASSERT_TRUE(f.drop(FilterList::Selected, {3}, FilterList::Selected, 1));
    EXPECT_EQ(f.values(FilterList::Selected), QStringList({before[2], before[0], before[1]}));
    ASSERT_TRUE(f.drop(FilterList::Selected, {1}, FilterList::Selected, -1));
    EXPECT_EQ(f.values(FilterList::Selected), QStringList({before[0], before[1], before[2]}));
    EXPECT_TRUE(f.ChangeFilter());
}

TEST_F(Filter, ShowOthersNeedsASelectionAndGoesWhenTheLastValueLeaves) {
    openSummary();
    openIt();
    FilterValues f(*session, "Media", 1);
    EXPECT_TRUE(f.showOthersVisible());
    EXPECT_TRUE(f.showOthersEnabled());
    EXPECT_FALSE(f.clickShowOthers(true));
    EXPECT_FALSE(f.showOthers());
    EXPECT_FALSE(f.ChangeFilter());

    ASSERT_TRUE(f.drop(FilterList::Available, {2}, FilterList::Selected, -1));
    EXPECT_TRUE(f.clickShowOthers(true));
    EXPECT_TRUE(f.showOthers());
    ASSERT_TRUE(f.drop(FilterList::Selected, {1}, FilterList::Available, 1));
    EXPECT_FALSE(f.showOthers());
    EXPECT_EQ(f.values(FilterList::Available).size(), 5);

    EXPECT_FALSE(FilterValues(*session, "Media", 0).showOthersEnabled());
}

TEST_F(Filter, OkWritesTheSelectionInTheUsersOrderAndShowOthers) {
    openSummary();
    openIt();
    FilterValues f(*session, "Media", 1);
    const QStringList all = f.values(FilterList::Available);
    ASSERT_TRUE(f.drop(FilterList::Available, {4}, FilterList::Selected, -1));
    ASSERT_TRUE(f.drop(FilterList::Available, {1}, FilterList::Selected, 1));
    f.clickShowOthers(true);
    f.ok();
    f.unload();
    EXPECT_TRUE(f.ChangePrompt());
    EXPECT_EQ(combo("MEDIA").items, QStringList({"Filtered Media", all[0], all[3]}));
    EXPECT_TRUE(combo("MEDIA").filtered());
    EXPECT_TRUE(session->aDims(fieldIndex("MEDIA")).ShowOthers);

    // Reopened, the stored choice is shown, and is no change.
    FilterValues again(*session, "Media", 1);
    EXPECT_TRUE(again.showOthers());
    EXPECT_FALSE(again.ChangeFilter());
    EXPECT_EQ(again.values(FilterList::Selected), QStringList({all[0], all[3]}));
}

TEST_F(Filter, OkWithNothingSelectedGivesARowFieldAllItsValuesAndAPageFieldItsCaptionAlone) {
    openSummary();
    openIt();
    combo("MEDIA").items = QStringList{"Filtered Media", "TV"};
    session->aDims(fieldIndex("MEDIA")).ShowOthers = true;
    FilterValues media(*session, "Media", 1);
    ASSERT_EQ(media.values(FilterList::Selected).size(), 1);
    ASSERT_TRUE(media.drop(FilterList::Selected, {1}, FilterList::Available, -1));
    media.ok();
    media.unload();
    EXPECT_FALSE(media.ChangePrompt());
    EXPECT_EQ(combo("MEDIA").items.value(0), "Media");
    EXPECT_EQ(Trimmed(combo("MEDIA").items.mid(1)), QSet<QString>({"TV", "RADIO", "PRESS", "OUTDOOR", "CINEMA"}));
    EXPECT_FALSE(combo("MEDIA").filtered());
    EXPECT_FALSE(session->aDims(fieldIndex("MEDIA")).ShowOthers);

    combo("CHANNEL").items = QStringList{"Filtered Channel", "VOVI TV"};
    FilterValues channel(*session, "Channel", 0);
    ASSERT_TRUE(channel.drop(FilterList::Selected, {1}, FilterList::Available, -1));
    channel.ok();
    EXPECT_EQ(combo("CHANNEL").items, QStringList({"Channel"}));
}

TEST_F(Filter, CancelWritesNothingButKeepsTheChange) {
    openSummary();
    openIt();
    const QStringList before = combo("MEDIA").items;
    FilterValues f(*session, "Media", 1);
    ASSERT_TRUE(f.drop(FilterList::Available, {1}, FilterList::Selected, -1));
    f.unload();
    EXPECT_TRUE(f.ChangeFilter());
    EXPECT_EQ(combo("MEDIA").items, before);
}

// Language is a page field of the sample, so the sample opens with the
// values below; the checks follow the grid the dialog was opened from.
TEST_F(Filter, AColumnFieldLeftWithoutSelectionMustFitTheColumnsWithAllItsValues) {
    openSummary();
    ASSERT_GT(testing::EditEvery(sample, "LANGUAGE", 1000, "Red,Blue"), 0);
    openIt();
    const QStringList all = FilterValues(*session, "Language", 2).values(FilterList::Available);
    ASSERT_TRUE(all.contains("Red,Blue  ")) << all.join("|").toStdString();
    QString kept;
    for (const QString& v : all)
        if (!v.contains(',')) kept = v;
    ASSERT_FALSE(kept.isEmpty());
    combo("LANGUAGE").items = QStringList{"Filtered Language", kept};
    FilterValues f(*session, "Language", 2);
    EXPECT_FALSE(f.drop(FilterList::Selected, {1}, FilterList::Available, -1));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Dimension unfit for column \r\ncontaining invalid character (,)");
    EXPECT_EQ(f.values(FilterList::Selected), QStringList({kept}));
    EXPECT_FALSE(f.ChangeFilter());
    // Opened from the row grid it may lose its selection: rows take commas.
    FilterValues rows(*session, "Language", 1);
    EXPECT_TRUE(rows.drop(FilterList::Selected, {1}, FilterList::Available, -1));
}

TEST_F(Filter, AValueSelectedForARowFieldMustFitTheRows) {
    openSummary();
    ASSERT_GT(testing::EditEvery(sample, "LANGUAGE", 1000, "Say \"X\""), 0);
    openIt();
    FilterValues f(*session, "Language", 1);
    const int quoted = rowOf(f, FilterList::Available, "Say \"X\"   ");
    ASSERT_GT(quoted, 0) << f.values(FilterList::Available).join('|').toStdString();
    EXPECT_FALSE(f.drop(FilterList::Available, {quoted}, FilterList::Selected, -1));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Dimension unfit for row")) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(f.values(FilterList::Selected).isEmpty());
    // For a field opened from no grid the value is fine.
    FilterValues page(*session, "Language", 0);
    EXPECT_TRUE(page.drop(FilterList::Available, {rowOf(page, FilterList::Available, "Say \"X\"   ")},
                          FilterList::Selected, -1));
}

}  // namespace
}  // namespace vantrep::design
