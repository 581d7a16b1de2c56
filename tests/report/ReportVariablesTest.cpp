// Report variables and group records: creation, calculation, update, reset,
// counting, and the groups and aggregates built from a report's bands.
#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "report/ReportGroups.h"
#include "report/clsVariables.h"
#include "report/support/ReportTable.h"

namespace vantrep::report {
namespace {

using testing::decimal;
using testing::number;
using testing::text;

TEST(ReportVariables, AddWithoutDataRaisesTheDataError) {
    clsVariables variables;
    try {
        variables.Add();
        FAIL() << "no error";
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(error.number(), -2147221504 + 513);
        EXPECT_EQ(error.description(), "Data recordset is not set");
    }
}

TEST(ReportVariables, NamedInCreationOrderAndFoundByKey) {
    testing::ReportTable table({{"amt", 'N', 8, 2}}, {});
    ReportData data(table.recordset());
    clsVariables variables;
    variables.Data = &data;
    EXPECT_EQ(variables.Add().Name, u"Var1");
    clsVariable& second = variables.Add();
    EXPECT_EQ(second.Name, u"Var2");
    EXPECT_EQ(second.Parent, &variables);
    EXPECT_EQ(variables.Item(QStringLiteral("var2")), &second);
    EXPECT_EQ(variables.Item(QStringLiteral("Var9")), nullptr);
    variables.Remove(QStringLiteral("Var1"));
    EXPECT_EQ(variables.Count(), 1);
}

TEST(ReportVariables, CalculationIsCutAndMinMaxStartWhereTheyShould) {
    clsVariable sum;
    sum.setCalculation(QStringLiteral("Sum(Amt_USD)"));
    EXPECT_EQ(sum.Calculation(), u"sum amt_usd");
    EXPECT_TRUE(sum.Value().isNull());
    clsVariable low;
    low.setCalculation(QStringLiteral("min(x)"));
    EXPECT_EQ(low.Value().asDouble(), 1.79769313486232E+300);
    clsVariable high;
    high.setCalculation(QStringLiteral("max(x)"));
    EXPECT_EQ(high.Value().asDouble(), -4.94065645841247E-300);
    sum.setValue(engine::Value::integer(0));
    EXPECT_EQ(sum.Value().asInteger(), 0);
}

// Amounts 10.50, -2.25 and 4 under groups A = 1, 1, 2.
class AggregateTest : public ::testing::Test {
protected:
    AggregateTest()
        : table({{"a", 'N', 2}, {"amt", 'N', 8, 2}, {"neg", 'N', 6, 2}},
                {{number(1), decimal("10.50"), decimal("-3")},
                 {number(1), decimal("-2.25"), decimal("-1.5")},
                 {number(2), decimal("4"), decimal("-2")}}),
          data(table.recordset()) {
        variables.Data = &data;
    }

    clsVariable& add(const QString& calculation, const QString& criteria) {
        clsVariable& variable = variables.Add();
        variable.setCalculation(calculation);
        variable.GroupCriteria = criteria;
        variable.NextLevelGroupCriteria = QStringLiteral("amt");
        return variable;
    }

    // Updates with every record, collecting `variable`'s value text after each.
    QStringList run(clsVariable& variable) {
        QStringList seen;
        for (table.recordset().MoveFirst(); !table.recordset().Eof(); table.recordset().MoveNext()) {
            variables.Update();
            seen.append(valueText(variable.Value()));
        }
        return seen;
    }

    testing::ReportTable table;
    ReportData data;
    clsVariables variables;
};

TEST_F(AggregateTest, EachFunctionAccumulatesAndRestartsWithItsGroup) {
    clsVariable& sum = add(QStringLiteral("sum(amt)"), QStringLiteral("a"));
    clsVariable& total = add(QStringLiteral("sum(amt)"), QStringLiteral("Never Changes"));
    clsVariable& count = add(QStringLiteral("count(amt)"), QStringLiteral("a"));
    clsVariable& average = add(QStringLiteral("avg(amt)"), QStringLiteral("Never Changes"));
    clsVariable& low = add(QStringLiteral("min(amt)"), QStringLiteral("never changes"));
    clsVariable& high = add(QStringLiteral("max(amt)"), QStringLiteral("Never Changes"));
    QStringList sums;
    QStringList counts;
    for (table.recordset().MoveFirst(); !table.recordset().Eof(); table.recordset().MoveNext()) {
        variables.Update();
        sums.append(valueText(sum.Value()));
        counts.append(valueText(count.Value()));
    }
    EXPECT_EQ(sums, QStringList({"10.5", "8.25", "4"}));
    EXPECT_EQ(counts, QStringList({"1", "2", "1"}));
    EXPECT_EQ(valueText(total.Value()), u"12.25");
    EXPECT_NEAR(average.Value().asDouble(), 12.25 / 3, 1e-12);
    EXPECT_EQ(valueText(low.Value()), u"-2.25");
    EXPECT_EQ(valueText(high.Value()), u"10.5");
}

TEST_F(AggregateTest, MaxOfOnlyNegativeValuesKeepsItsTinyStartValue) {
    clsVariable& high = add(QStringLiteral("max(neg)"), QStringLiteral("Never Changes"));
    run(high);
    EXPECT_EQ(valueText(high.Value()), u"-4.94065645841247E-300");
}

TEST_F(AggregateTest, UnknownFieldLeavesTheTotalEmpty) {
    clsVariable& sum = add(QStringLiteral("sum(nothing)"), QStringLiteral("Never Changes"));
    EXPECT_EQ(run(sum), QStringList({"", "", ""}));
}

TEST_F(AggregateTest, PageTotalRestartsWithTheFirstRecordOfANewPage) {
    print::PrintSurface surface;
    variables.VSPrn = &surface;
    surface.startDoc();
    clsVariable& pageSum = add(QStringLiteral("sum(amt)"), QStringLiteral("When Page Changes"));
    engine::Recordset& rs = table.recordset();
    variables.Update();
    rs.MoveNext();
    variables.Update();
    EXPECT_EQ(valueText(pageSum.Value()), u"8.25");
    surface.newPage();
    EXPECT_EQ(valueText(pageSum.Value()), u"8.25");  // a page footer still shows the old page's total
    rs.MoveNext();
    variables.Update();
    EXPECT_EQ(valueText(pageSum.Value()), u"4");
}

TEST(ReportVariablesCounting, ZeroDetailFieldsAreNotCountedWhenZerosAreSuppressed) {
    testing::ReportTable table({{"amt", 'N', 8, 2}, {"spots", 'N', 4}},
                               {{decimal("0"), decimal("0")}, {decimal("5"), decimal("0")}});
    ReportData data(table.recordset());
    for (bool suppress : {false, true}) {
        clsVariables variables;
        variables.Data = &data;
        variables.SupperssZero = suppress;
        clsVariable& count = variables.Add();
        count.setCalculation(QStringLiteral("count(*)"));
        count.GroupCriteria = QStringLiteral("Never Changes");
        count.NextLevelGroupCriteria = QStringLiteral("amt,spots");
        for (table.recordset().MoveFirst(); !table.recordset().Eof(); table.recordset().MoveNext())
            variables.Update();
        EXPECT_EQ(count.Value().asInteger(), suppress ? 1 : 2);
    }
}

TEST(ReportGroups, ThreeLevelsGiveInnermostFirstRecordsWithTheirBands) {
    std::vector<clsGroupFmt> groups = buildGroups(QStringLiteral("date,media_name*+prog_name+break"),
                                                  QStringLiteral("+H2+H3"), QStringLiteral("F1*+F2*"),
                                                  QStringLiteral("lbl;;1000|txt;product;2500\r\ntxt;brand*;2000"));
    ASSERT_EQ(groups.size(), 6u);
    EXPECT_EQ(groups[0].GroupCriteria, u"date,media_name*,prog_name,break");
    EXPECT_EQ(groups[0].GroupLevel, 3);
    EXPECT_EQ(groups[0].HeaderFooter, u"H");
    EXPECT_EQ(groups[0].GroupFormat, u"H3");
    EXPECT_EQ(groups[1].HeaderFooter, u"F");
    EXPECT_EQ(groups[1].GroupFormat, u"");  // no third footer piece
    EXPECT_EQ(groups[2].GroupCriteria, u"date,media_name*,prog_name");
    EXPECT_EQ(groups[3].GroupFormat, u"F2*");
    EXPECT_EQ(groups[4].GroupCriteria, u"date,media_name*");
    EXPECT_EQ(groups[4].GroupFormat, u"");  // the header band starts with "+"
    EXPECT_EQ(groups[5].GroupFormat, u"F1*");
    EXPECT_EQ(groups[5].NextLevelGroupCriteria, u"product,brand");
    EXPECT_TRUE(buildGroups(QString(), QString(), QString(), QString()).empty());
}

TEST(ReportGroups, InnerLevelNamedLikeTheStartOfAnotherFieldIsCutOffCleanly) {
    std::vector<clsGroupFmt> groups = buildGroups(QStringLiteral("prog_name+prog"), {}, {}, {});
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[2].GroupCriteria, u"prog_name");
}

TEST(ReportGroups, AggregatesBecomeVariablesAndRepeatsShareOne) {
    testing::ReportTable table({{"amt_usd", 'N', 8, 2}}, {});
    ReportData data(table.recordset());
    clsVariables variables;
    variables.Data = &data;
    QString band = replaceAggregates(
        QStringLiteral("fun;sum(amt_usd);800|fun;count(Media);800|fun;sum(amt_usd);900|fun;max(amt_usd)"), variables,
        QStringLiteral("a,b"), QStringLiteral("amt_usd"));
    EXPECT_EQ(band, u"fun;Var1;800|fun;Var2;800|fun;Var1;900|fun;Var3");
    ASSERT_EQ(variables.Count(), 3);
    EXPECT_EQ(variables.Item(QStringLiteral("Var2"))->Calculation(), u"count media");
    EXPECT_EQ(variables.Item(QStringLiteral("Var3"))->Calculation(), u"max amt_usd");
    EXPECT_EQ(variables.Item(QStringLiteral("Var1"))->GroupCriteria, u"a,b");
    EXPECT_EQ(variables.Item(QStringLiteral("Var1"))->NextLevelGroupCriteria, u"amt_usd");
}

TEST(ReportGroups, EveryGroupRecordGetsARecordCounterBeforeItsAggregates) {
    testing::ReportTable table({{"a", 'N', 2}}, {});
    ReportData data(table.recordset());
    clsVariables variables;
    variables.Data = &data;
    std::vector<clsGroupFmt> groups =
        buildGroups(QStringLiteral("a+b"), QString(), QStringLiteral("fun;sum(a);9+fun;count(a);9"), QString());
    addGroupVariables(groups, variables);
    // Inner header, inner footer (count(a)), outer header, outer footer (sum(a)).
    EXPECT_EQ(groups[0].DetCount->Name, u"Var1");
    EXPECT_EQ(groups[1].DetCount->Name, u"Var2");
    EXPECT_EQ(groups[1].GroupFormat, u"fun;Var3;9");
    EXPECT_EQ(groups[3].GroupFormat, u"fun;Var6;9");
    EXPECT_EQ(groups[3].DetCount->Calculation(), u"count *");
    EXPECT_EQ(variables.Count(), 6);
}

}  // namespace
}  // namespace vantrep::report
