// Report variables and group records: creation, calculation, update, reset,
// counting, and the groups and aggregates built from a report's bands.
#include <gtest/gtest.h>

#include <functional>

#include "engine/EngineError.h"
#include "report/ReportGroups.h"
#include "report/clsVariables.h"
#include "report/support/ReportTable.h"

namespace vantrep::report {
namespace {

using testing::decimal;
using testing::number;

// Amounts 10.50, -2.25 and 4 (and only negative values in "neg") under groups
// A = 1, 1, 2; "spots" and "reel" are 0 everywhere.
class ReportVariables : public ::testing::Test {
protected:
    ReportVariables()
        : table({{"a", 'N', 2}, {"amt", 'N', 8, 2}, {"neg", 'N', 6, 2}, {"spots", 'N', 4}, {"reel", 'N', 4}},
                {{number(1), decimal("10.50"), decimal("-3"), decimal("0"), decimal("0")},
                 {number(1), decimal("-2.25"), decimal("-1.5"), decimal("0"), decimal("0")},
                 {number(2), decimal("4"), decimal("-2"), decimal("0"), decimal("0")}}),
          data(table.recordset()) {
        variables.Data = &data;
    }

    clsVariable& add(const QString& calculation, const QString& criteria, const QString& next = "amt") {
        clsVariable& variable = variables.Add();
        variable.setCalculation(calculation);
        variable.GroupCriteria = criteria;
        variable.NextLevelGroupCriteria = next;
        return variable;
    }

    // Updates with every record; `afterEach` looks at the variables after each update.
    void updateAll(const std::function<void()>& afterEach = [] {}) {
        for (table.recordset().MoveFirst(); !table.recordset().Eof(); table.recordset().MoveNext()) {
            variables.Update();
            afterEach();
        }
    }

    testing::ReportTable table;
    ReportData data;
    clsVariables variables;
};

TEST_F(ReportVariables, AddNeedsDataAndNamesInCreationOrderFoundByKey) {
    try {
        clsVariables().Add();
        FAIL() << "no error";
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(error.number(), -2147221504 + 513);
        EXPECT_EQ(error.description(), "Data recordset is not set");
    }
    EXPECT_EQ(variables.Add().Name, u"Var1");
    clsVariable& second = variables.Add();
    EXPECT_EQ(second.Name, u"Var2");
    EXPECT_EQ(second.Parent, &variables);
    EXPECT_EQ(variables.Item("var2"), &second);
    EXPECT_EQ(variables.Item("Var9"), nullptr);
    variables.Remove("Var1");
    EXPECT_EQ(variables.Count(), 1);
}

TEST(ReportVariablesCalculation, IsCutAndMinMaxStartWhereTheyShould) {
    clsVariable sum, low, high;
    sum.setCalculation("Sum(Amt_USD)");
    EXPECT_EQ(sum.Calculation(), u"sum amt_usd");
    EXPECT_TRUE(sum.Value().isNull());
    low.setCalculation("min(x)");
    EXPECT_EQ(low.Value().asDouble(), 1.79769313486232E+300);
    high.setCalculation("max(x)");
    EXPECT_EQ(high.Value().asDouble(), -4.94065645841247E-300);
    sum.setValue(engine::Value::integer(0));
    EXPECT_EQ(sum.Value().asInteger(), 0);
}

TEST_F(ReportVariables, EachFunctionAccumulatesAndRestartsWithItsGroup) {
    // The value after each record; "Never Changes" (in any case) never restarts.
    const QString tiny = "-4.94065645841247E-300";
    struct Case { QString calculation, criteria; QStringList values; };
    const std::vector<Case> cases = {
        {"sum(amt)", "a", {"10.5", "8.25", "4"}},
        {"count(amt)", "a", {"1", "2", "1"}},
        {"sum(amt)", "Never Changes", {"10.5", "8.25", "12.25"}},
        {"min(amt)", "never changes", {"10.5", "-2.25", "-2.25"}},
        {"max(amt)", "Never Changes", {"10.5", "10.5", "10.5"}},
        {"max(neg)", "Never Changes", {tiny, tiny, tiny}},  // only negatives: the tiny start value stays
        {"sum(nothing)", "Never Changes", {"", "", ""}},  // an unknown field leaves the total empty
    };
    std::vector<clsVariable*> added;
    for (const Case& c : cases) added.push_back(&add(c.calculation, c.criteria));
    clsVariable& average = add("avg(amt)", "Never Changes");
    std::vector<QStringList> seen(cases.size());
    updateAll([&] {
        for (size_t i = 0; i < cases.size(); ++i) seen[i].append(valueText(added[i]->Value()));
    });
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(seen[i], cases[i].values) << cases[i].calculation.toStdString() << " by "
                                            << cases[i].criteria.toStdString();
    EXPECT_NEAR(average.Value().asDouble(), 12.25 / 3, 1e-12);
}

TEST_F(ReportVariables, PageTotalRestartsWithTheFirstRecordOfANewPage) {
    print::PrintSurface surface;
    variables.VSPrn = &surface;
    surface.startDoc();
    clsVariable& pageSum = add("sum(amt)", "When Page Changes");
    variables.Update();
    table.recordset().MoveNext();
    variables.Update();
    EXPECT_EQ(valueText(pageSum.Value()), u"8.25");
    surface.newPage();
    EXPECT_EQ(valueText(pageSum.Value()), u"8.25");  // a page footer still shows the old page's total
    table.recordset().MoveNext();
    variables.Update();
    EXPECT_EQ(valueText(pageSum.Value()), u"4");
}

TEST_F(ReportVariables, ZeroDetailFieldsAreNotCountedWhenZerosAreSuppressed) {
    for (bool suppress : {false, true}) {
        variables.SupperssZero = suppress;
        clsVariable& zeros = add("count(*)", "Never Changes", "spots,reel");
        clsVariable& someZeros = add("count(*)", "Never Changes", "amt,spots");
        updateAll();
        EXPECT_EQ(zeros.Value().asInteger(), suppress ? 0 : 3) << suppress;
        EXPECT_EQ(someZeros.Value().asInteger(), 3) << suppress;
    }
}

// A group record as "H3 criteria [band]": header or footer, level, criteria and band.
QStringList described(const std::vector<clsGroupFmt>& groups) {
    QStringList all;
    for (const clsGroupFmt& g : groups)
        all.append(QString("%1%2 %3 [%4]").arg(g.HeaderFooter).arg(g.GroupLevel).arg(g.GroupCriteria, g.GroupFormat));
    return all;
}

TEST(ReportGroups, LevelsGiveInnermostFirstRecordsWithTheirBands) {
    std::vector<clsGroupFmt> groups = buildGroups("date,media_name*+prog_name+break", "+H2+H3", "F1*+F2*",
                                                  "lbl;;1000|txt;product;2500\r\ntxt;brand*;2000");
    // No third footer piece; the header band starts with "+", so level 1 has none.
    EXPECT_EQ(described(groups),
              QStringList({"H3 date,media_name*,prog_name,break [H3]", "F3 date,media_name*,prog_name,break []",
                           "H2 date,media_name*,prog_name [H2]", "F2 date,media_name*,prog_name [F2*]",
                           "H1 date,media_name* []", "F1 date,media_name* [F1*]"}));
    EXPECT_EQ(groups[5].NextLevelGroupCriteria, u"product,brand");
    EXPECT_TRUE(buildGroups(QString(), QString(), QString(), QString()).empty());
    // An inner level named like the start of another field is cut off cleanly.
    EXPECT_EQ(described(buildGroups("prog_name+prog", {}, {}, {})),
              QStringList({"H2 prog_name,prog []", "F2 prog_name,prog []", "H1 prog_name []", "F1 prog_name []"}));
}

TEST_F(ReportVariables, AggregatesBecomeVariablesAndRepeatsShareOne) {
    QString band = replaceAggregates("fun;sum(amt_usd);800|fun;count(Media);800|fun;sum(amt_usd);900|fun;max(amt_usd)",
                                     variables, "a,b", "amt_usd");
    EXPECT_EQ(band, u"fun;Var1;800|fun;Var2;800|fun;Var1;900|fun;Var3");
    ASSERT_EQ(variables.Count(), 3);
    EXPECT_EQ(variables.Item("Var2")->Calculation(), u"count media");
    EXPECT_EQ(variables.Item("Var3")->Calculation(), u"max amt_usd");
    EXPECT_EQ(variables.Item("Var1")->GroupCriteria, u"a,b");
    EXPECT_EQ(variables.Item("Var1")->NextLevelGroupCriteria, u"amt_usd");
}

TEST_F(ReportVariables, EveryGroupRecordGetsARecordCounterBeforeItsAggregates) {
    std::vector<clsGroupFmt> groups = buildGroups("a+b", QString(), "fun;sum(a);9+fun;count(a);9", QString());
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
