// The designer's "Filter" command and its snapshots: what is kept aside
// before a field's first filter change, what an unchanged opening leaves
// behind, and what "Ignore filters applied ?" restores.
#include <gtest/gtest.h>

#include "design/FilterValues.h"
#include "support/OpenSample.h"

namespace vantrep::design {
namespace {

class FilterCommand : public testing::OpenSample {
protected:
    void SetUp() override {
        OpenSample::SetUp();
        ASSERT_EQ(open(copySample("summary") + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    }
    session::ValueList& combo(const QString& name) { return session->cmbField[static_cast<size_t>(fieldIndex(name))]; }
    // A filter dialog that moves the first `take` available values to
    // "Selected", ticks "Show Others" when asked, and ends with OK or Cancel.
    LayoutDesigner::FilterDialog dialog(int take, bool others, bool ok) {
        return [=, this](const QString& caption, int sourceIndex) {
            shown << caption + "@" + QString::number(sourceIndex);
            FilterValues f(*session, caption, sourceIndex);
            std::vector<int> rows;
            for (int r = 1; r <= take; ++r) rows.push_back(r);
            if (take > 0) f.drop(FilterList::Available, rows, FilterList::Selected, -1);
            if (others) f.clickShowOthers(true);
            if (ok) f.ok();
            f.unload();
            return f.ChangeFilter();
        };
    }
    QStringList shown;
};

TEST_F(FilterCommand, AChangedFilterIsKeptAsideFirstAndYesRestoresItsValuesAndShowOthers) {
    const QStringList before = combo("MEDIA").items;
    ASSERT_FALSE(session->aDims(fieldIndex("MEDIA")).ShowOthers);
    designer->filterCommand("Media", 1, dialog(2, true, true));
    EXPECT_EQ(shown, QStringList({"Media@1"}));
    EXPECT_TRUE(designer->filtersChanged());
    EXPECT_TRUE(designer->applyEnabled());
    EXPECT_TRUE(designer->filterSnapshots().contains("Media"));
    EXPECT_TRUE(combo("MEDIA").filtered());
    EXPECT_EQ(designer->grids().rows.textMatrix(rowOf(DesignGrid::Rows, "Media"), 1), "Filtered Media");

    // The second opening, from the marked caption, keeps the first snapshot.
    designer->filterCommand("Filtered Media", 1, dialog(1, false, true));
    EXPECT_EQ(shown.last(), "Media@1");
    EXPECT_EQ(combo("MEDIA").items.size(), 4);

    ui.answers.push_back(session::MessageAnswer::Yes);
    EXPECT_TRUE(designer->queryUnload());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ignore filters applied ?");
    EXPECT_EQ(ui.messages[0].icon, session::MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, session::MessageButtons::YesNo);
    EXPECT_EQ(combo("MEDIA").items, before);
    EXPECT_FALSE(session->aDims(fieldIndex("MEDIA")).ShowOthers);
    EXPECT_EQ(reruns, 0);  // no query is run
}

TEST_F(FilterCommand, NoKeepsTheDesignerOpenAndTheFilter) {
    designer->filterCommand("Brand", 1, dialog(1, false, true));
    const QStringList filtered = combo("BRAND").items;
    ui.answers.push_back(session::MessageAnswer::No);
    EXPECT_FALSE(designer->queryUnload());
    EXPECT_EQ(combo("BRAND").items, filtered);
    EXPECT_TRUE(designer->filtersChanged());
}

TEST_F(FilterCommand, AnOpeningThatChangesNothingLeavesNoSnapshotAndKeepsTheOthers) {
    designer->filterCommand("Media", 1, dialog(1, false, true));
    designer->filterCommand("Brand", 1, dialog(0, true, true));  // "Show Others" without a selection: no change
    EXPECT_FALSE(designer->filterSnapshots().contains("Brand"));
    EXPECT_TRUE(designer->filterSnapshots().contains("Media"));
    designer->filterCommand("Media", 1, dialog(0, false, false));
    EXPECT_TRUE(designer->filterSnapshots().contains("Media"));  // not this opening's snapshot
}

TEST_F(FilterCommand, ClosingAfterChecksOnlyAsksNothing) {
    const int spots = rowOf(DesignGrid::Selected, "Spots");
    ASSERT_TRUE(designer->toggleCheck(DesignGrid::Selected, spots));
    EXPECT_TRUE(designer->queryUnload());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FilterCommand, CancelAfterAMoveStillCountsAsAChange) {
    const QStringList before = combo("MEDIA").items;
    designer->filterCommand("Media", 1, dialog(1, false, false));
    EXPECT_EQ(combo("MEDIA").items, before);
    EXPECT_TRUE(designer->filtersChanged());
    EXPECT_TRUE(designer->filterSnapshots().contains("Media"));
}

TEST_F(FilterCommand, ApplyRunsTheFilterAndYesLaterRestoresTheStateBeforeTheFirstChange) {
    const QStringList before = combo("MEDIA").items;
    designer->filterCommand("Media", 1, dialog(2, false, true));
    ASSERT_TRUE(designer->apply());
    EXPECT_EQ(reruns, 1);
    EXPECT_FALSE(designer->filtersChanged());
    EXPECT_TRUE(session->crossTab.aQuerySql[1].contains("INLIST(ALLTRIM(MEDIA),"));
    EXPECT_TRUE(designer->queryUnload());  // applied: nothing to ask
    EXPECT_TRUE(ui.messages.empty());

    designer->filterCommand("Filtered Media", 1, dialog(1, false, true));
    ui.answers.push_back(session::MessageAnswer::Yes);
    EXPECT_TRUE(designer->queryUnload());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(combo("MEDIA").items, before);
    // The report no longer shows the applied filter the user chose to ignore.
    EXPECT_EQ(reruns, 2);
    EXPECT_FALSE(session->crossTab.aQuerySql[1].contains("INLIST(ALLTRIM(MEDIA),"));
}

TEST_F(FilterCommand, YesAfterAnAppliedPageFilterRunsTheReportWithoutIt) {
    const QString channel = session->aDims(fieldIndex("CHANNEL")).FDesc.trimmed();
    ASSERT_EQ(session->aDims(fieldIndex("CHANNEL")).Layout.trimmed(), "P");
    designer->filterCommand(channel, 0, dialog(1, false, true));
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(session->sPageFilter.contains("CHANNEL in("));
    designer->filterCommand("Filtered " + channel, 0, dialog(1, false, true));
    ui.answers.push_back(session::MessageAnswer::Yes);
    EXPECT_TRUE(designer->queryUnload());
    EXPECT_EQ(reruns, 2);
    EXPECT_TRUE(session->sPageFilter.isEmpty());
    EXPECT_TRUE(session->sPageFilterText.isEmpty());
    EXPECT_FALSE(session->crossTab.aQuerySql[1].contains("CHANNEL"));
}

}  // namespace
}  // namespace vantrep::design
